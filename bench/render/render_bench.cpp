// Bitmap decoding throughput against a plain copy of the same pixel bytes, and the time to
// build a model of a realistic size from its scene file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "platform/headless.h"
#include "support/bitmapbuilder.h"
#include "render/image.h"
#include "render/maxmesh.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"
#include "scene3ds/scene3ds.h"

namespace {

using namespace bmpbuild;

constexpr int Side = 2048;

const std::vector<uint8_t>& Large24() {
    static const std::vector<uint8_t> file = [] {
        Layout s;
        s.width = Side;
        s.height = Side;
        s.bits = pack24(Side, Side, false, gradient);
        return build(s);
    }();
    return file;
}

const std::vector<uint8_t>& Large8() {
    static const std::vector<uint8_t> file = [] {
        Layout s;
        s.width = Side;
        s.height = Side;
        s.bitCount = 8;
        s.palette = palette(256);
        s.bits =
            pack(Side, Side, 8, false, [](int x, int y) { return static_cast<uint8_t>(x ^ y); });
        return build(s);
    }();
    return file;
}

// The floor: copying the file's pixel bytes (everything after the headers) once.
void CopyPixels(benchmark::State& state, const std::vector<uint8_t>& file, size_t headers) {
    std::vector<uint8_t> out(file.size() - headers);
    for (auto _ : state) {
        std::memcpy(out.data(), file.data() + headers, out.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * out.size());
}

void Decode(benchmark::State& state, const std::vector<uint8_t>& file, size_t headers) {
    for (auto _ : state) {
        ImageRec* image = DecodeDIBImage(file.data(), file.size());
        if (!image) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(image->data);
        FreeImageRec(image);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (file.size() - headers));
}

void BM_Copy24(benchmark::State& state) {
    CopyPixels(state, Large24(), 54);
}
void BM_Decode24(benchmark::State& state) {
    Decode(state, Large24(), 54);
}
void BM_Copy8(benchmark::State& state) {
    CopyPixels(state, Large8(), 54 + 1024);
}
void BM_Decode8(benchmark::State& state) {
    Decode(state, Large8(), 54 + 1024);
}

BENCHMARK(BM_Copy24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode8)->Unit(benchmark::kMillisecond);

// Ten textured meshes of 32 x 32 quads (2048 triangles each, 20480 in all) over four materials,
// as a stadium-sized model file.
std::vector<uint8_t> RealisticScene(int* triangles) {
    std::vector<scenebuild::Material> mats;
    mats.reserve(4);
    for (int i = 0; i < 4; ++i)
        mats.push_back({"mat" + std::to_string(i),
                        {50, 50, 50},
                        {200, 100, 50},
                        {255, 255, 255},
                        40,
                        i % 2 ? "TEX" + std::to_string(i) + ".BMP" : ""});
    std::vector<scenebuild::Mesh> meshes;
    *triangles = 0;
    const int n = 32;
    for (int k = 0; k < 10; ++k) {
        scenebuild::Mesh m;
        m.name = "part" + std::to_string(k);
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) {
                float x = i * 2.0f + k * 70.0f, z = j * 2.0f;
                m.verts.push_back({x, 0.3f * static_cast<float>((i * j + k) % 7), z});
                m.uvs.push_back({i / float(n), j / float(n)});
            }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                uint16_t a = static_cast<uint16_t>(j * (n + 1) + i);
                uint16_t b = static_cast<uint16_t>(a + 1);
                uint16_t c = static_cast<uint16_t>(a + n + 1);
                uint16_t d = static_cast<uint16_t>(c + 1);
                m.faces.push_back({a, b, d});
                m.faces.push_back({a, d, c});
            }
        m.groups = {"mat" + std::to_string(k % 4)};
        *triangles += static_cast<int>(m.faces.size());
        meshes.push_back(std::move(m));
    }
    return scenebuild::scene(mats, meshes);
}

void BM_BuildModel(benchmark::State& state) {
    headless::OffscreenGL gl;
    if (!gl.ok()) {
        state.SkipWithError("no GL context");
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "hwbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no temp folder");
        return;
    }
    std::filesystem::path dir = pattern;
    int triangles = 0;
    testdata::writeFile((dir / "scene.3ds").string(), RealisticScene(&triangles));
    for (int i : {1, 3})
        testdata::writeFile((dir / ("TEX" + std::to_string(i) + ".BMP")).string(),
                            gradientFile(64, 64));
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    ClearErrList3ds();
    for (auto _ : state) {
        maxMesh model("scene.3ds");
        if (model.numMeshes != 10)
            state.SkipWithError("model incomplete");
        benchmark::DoNotOptimize(model.meshes);
    }
    state.counters["triangles"] = triangles;
    state.counters["triangles/s"] = benchmark::Counter(
        static_cast<double>(triangles) * state.iterations(), benchmark::Counter::kIsRate);
    std::filesystem::current_path(previous);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_BuildModel)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
