// GLU tessellation into plain triangles: the edge-flag callback keeps fans and strips out.
#include "tessellate.h"

#include <GL/glu.h>

#include <deque>

namespace {

struct TessVertex {
    GLdouble xyz[3];
    uint32_t index;
};

struct TessState {
    Triangulation* out;
    std::deque<TessVertex> vertices; // stable addresses for the tessellator
    bool failed = false;
};

using Callback = void(APIENTRY*)();

void APIENTRY onBegin(GLenum type, void* data) {
    if (type != GL_TRIANGLES)
        static_cast<TessState*>(data)->failed = true;
}
void APIENTRY onEdgeFlag(GLboolean, void*) {}
void APIENTRY onVertex(void* vertex, void* data) {
    static_cast<TessState*>(data)->out->triangles.push_back(
        static_cast<TessVertex*>(vertex)->index);
}
void APIENTRY onEnd(void*) {}
void APIENTRY onError(GLenum, void* data) {
    static_cast<TessState*>(data)->failed = true;
}

void APIENTRY onCombine(GLdouble coords[3], void* [4], GLfloat[4], void** result, void* data) {
    auto* state = static_cast<TessState*>(data);
    uint32_t index = uint32_t(state->out->points.size());
    state->out->points.push_back({coords[0], coords[1]});
    state->vertices.push_back({{coords[0], coords[1], 0}, index});
    *result = &state->vertices.back();
}

} // namespace

Triangulation triangulate(const std::vector<Contour>& contours) {
    Triangulation result;
    TessState state{&result, {}, false};
    for (const Contour& c : contours)
        for (const Point2& p : c) {
            uint32_t index = uint32_t(result.points.size());
            result.points.push_back(p);
            state.vertices.push_back({{p.x, p.y, 0}, index});
        }

    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return result;
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(onBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(onEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(onVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(onEnd));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(onError));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(onCombine));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);

    gluTessBeginPolygon(tess, &state);
    size_t next = 0;
    for (const Contour& c : contours) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < c.size(); ++i, ++next)
            gluTessVertex(tess, state.vertices[next].xyz, &state.vertices[next]);
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    result.ok = !state.failed && result.triangles.size() % 3 == 0;
    return result;
}
