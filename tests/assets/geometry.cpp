// Geometry checks shared by the model tests: winding, closed pieces and their signed volumes.
#include "assets/geometry.h"

#include <cmath>
#include <map>
#include <numeric>
#include <tuple>

namespace assets {

namespace {

using Key = std::tuple<long, long, long>;

Key key(const P3& p) {
    return Key(std::lround(p.x * 1000), std::lround(p.y * 1000), std::lround(p.z * 1000));
}

int find(std::vector<int>& parent, int i) {
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

} // namespace

P3 faceNormal(const Triangles& t, size_t f) {
    const P3 &a = t.pos[t.tri[f][0]], &b = t.pos[t.tri[f][1]], &c = t.pos[t.tri[f][2]];
    P3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

P3 centroid(const Triangles& t, size_t f) {
    const P3 &a = t.pos[t.tri[f][0]], &b = t.pos[t.tri[f][1]], &c = t.pos[t.tri[f][2]];
    return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
}

std::vector<Piece> pieces(const Triangles& t) {
    // Corner ids by position, so seams with duplicated vertices still join.
    std::map<Key, int> ids;
    std::vector<std::array<int, 3>> corners(t.tri.size());
    for (size_t f = 0; f < t.tri.size(); ++f)
        for (int k = 0; k < 3; ++k) {
            auto it = ids.emplace(key(t.pos[t.tri[f][k]]), int(ids.size())).first;
            corners[f][k] = it->second;
        }
    std::vector<int> parent(ids.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (const auto& c : corners) {
        parent[find(parent, c[1])] = find(parent, c[0]);
        parent[find(parent, c[2])] = find(parent, c[0]);
    }
    std::map<int, Piece> byRoot;
    std::map<int, std::map<std::pair<int, int>, int>> edges;
    for (size_t f = 0; f < corners.size(); ++f) {
        const auto& c = corners[f];
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2])
            continue; // degenerate: no area, no volume
        int root = find(parent, c[0]);
        Piece& p = byRoot[root];
        const P3 &a = t.pos[t.tri[f][0]], &b = t.pos[t.tri[f][1]], &d = t.pos[t.tri[f][2]];
        p.volume += (a.x * (double(b.y) * d.z - double(b.z) * d.y) -
                     a.y * (double(b.x) * d.z - double(b.z) * d.x) +
                     a.z * (double(b.x) * d.y - double(b.y) * d.x)) /
                    6.0;
        p.faces += 1;
        for (int k = 0; k < 3; ++k)
            edges[root][{c[k], c[(k + 1) % 3]}] += 1;
    }
    std::vector<Piece> out;
    for (auto& [root, p] : byRoot) {
        p.closed = true;
        for (const auto& [e, n] : edges[root]) {
            auto back = edges[root].find({e.second, e.first});
            if (back == edges[root].end() || back->second != n)
                p.closed = false;
        }
        out.push_back(p);
    }
    return out;
}

} // namespace assets
