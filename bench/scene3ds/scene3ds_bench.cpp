// Scene database load speed: a generated scene of at least 64 MB loaded the model loader's way,
// against the floor of reading the file's bytes into memory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scene3ds/chunkwriter.h"
#include "scene3ds/scene3ds.h"
#include "support/scenebuilder.h"

namespace {

constexpr int kMeshes = 240;
constexpr int kVertices = 8000;
constexpr int kGroups = 4;
constexpr int kMaterials = 64;

void writeMaterial(ChunkWriter& w, int i) {
    scenebuild::Material m;
    m.name = "Material" + std::to_string(i);
    m.ambient = m.diffuse = m.specular = {static_cast<uint8_t>(i), 128, 255};
    m.shininess = 40;
    m.texture = "tex" + std::to_string(i) + ".bmp";
    m.extras = true;
    scenebuild::material(w, m);
}

void writeMesh(ChunkWriter& w, int index) {
    scenebuild::Mesh m;
    m.name = "Mesh" + std::to_string(index);
    for (int i = 0; i < kVertices; ++i) {
        m.verts.push_back({float(i), float(index), float(i ^ index)});
        m.vertexFlags.push_back(static_cast<uint16_t>(i));
        m.uvs.push_back({i / float(kVertices), 1 - i / float(kVertices)});
    }
    const int faces = kVertices - 2;
    for (int i = 0; i < faces; ++i) {
        m.faces.push_back({uint16_t(i), uint16_t(i + 1), uint16_t(i + 2)});
        m.smoothing.push_back(1u << (i % 32));
    }
    for (int g = 0; g < kGroups; ++g) {
        std::vector<uint16_t> list;
        for (int f = g * faces / kGroups; f < (g + 1) * faces / kGroups; ++f)
            list.push_back(static_cast<uint16_t>(f));
        m.groups.emplace_back("Material" + std::to_string((index + g) % kMaterials), list);
    }
    for (int i = 0; i < 12; ++i)
        m.localMatrix.push_back(i % 4 == 0 ? 1.0f : 0.0f);
    scenebuild::mesh(w, m);
}

// The generated scene, written once per run into a temporary folder removed at exit.
struct Scene {
    std::string dir;
    std::string path;
    size_t bytes = 0;
    double floorSeconds = 0;

    Scene() {
        char tmpl[] = "/tmp/hw-scene3ds-bench-XXXXXX";
        dir = mkdtemp(tmpl) ? tmpl : "/tmp";
        path = dir + "/big.3ds";
        ChunkWriter w;
        w.begin(MESH_FILE);
        w.begin(EDITOR_BLOCK);
        for (int i = 0; i < kMaterials; ++i)
            writeMaterial(w, i);
        for (int i = 0; i < kMeshes; ++i)
            writeMesh(w, i);
        w.end();
        w.end();
        bytes = w.size();
        if (!w.writeFile(path))
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    ~Scene() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

// The floor: the file's bytes read into memory that is already mapped and touched, so that it
// counts the read alone (the strictest floor the load can be held to).
size_t readAllBytes(const std::string& path) {
    static std::vector<uint8_t> data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    data.resize(static_cast<size_t>(size));
    size_t got = std::fread(data.data(), 1, data.size(), f);
    std::fclose(f);
    benchmark::DoNotOptimize(data.data());
    return got;
}

// Everything the model loader does with a file, for every mesh and material in it.
size_t loadScene(const std::string& path) {
    file3ds* file = OpenFile3ds(path.c_str(), "r");
    database3ds* db = nullptr;
    InitDatabase3ds(&db);
    CreateDatabase3ds(file, db);
    DisconnectDatabase3ds(db);
    CloseFile3ds(file);
    size_t items = 0;
    namelist3ds* names = nullptr;
    GetMaterialNameList3ds(db, &names);
    for (uint32_t i = 0; names && i < names->count; ++i) {
        material3ds* mat = nullptr;
        GetMaterialByName3ds(db, names->names[i].name, &mat);
        items += mat != nullptr;
        ReleaseMaterial3ds(&mat);
    }
    ReleaseNameList3ds(&names);
    GetMeshNameList3ds(db, &names);
    for (uint32_t i = 0; names && i < names->count; ++i) {
        mesh3ds* mesh = nullptr;
        GetMeshByName3ds(db, names->names[i].name, &mesh);
        items += mesh && mesh->vertexcount == kVertices;
        RelMeshObj3ds(&mesh);
    }
    ReleaseNameList3ds(&names);
    ReleaseDatabase3ds(&db);
    return items;
}

void BM_ReadFileBytes(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        if (readAllBytes(s.path) != s.bytes)
            state.SkipWithError("short read");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.bytes));
    state.counters["MB"] = double(s.bytes) / (1 << 20);
}

void BM_LoadScene(benchmark::State& state) {
    Scene& s = scene();
    // The floor in the same run: the median of a few plain reads of the file (a median, since
    // a single lucky read on a busy machine would make any ratio meaningless).
    std::vector<double> reads;
    for (int i = 0; i < 7; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        readAllBytes(s.path);
        reads.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(reads.begin(), reads.end());
    double floor = reads[reads.size() / 2];
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        size_t items = loadScene(s.path);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ClearErrList3ds();
        if (items != static_cast<size_t>(kMeshes) + static_cast<size_t>(kMaterials))
            state.SkipWithError("scene did not load completely");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.bytes));
    state.counters["MB"] = double(s.bytes) / (1 << 20);
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["x_floor"] = total / double(state.iterations()) / floor;
}

BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadScene)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
