// Models from scene files: geometry, normals, materials, damaged meshes, drawing, textures, spheres
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "platform/headless.h"
#include "render/maxmesh.h"
#include "render/sphere.h"
#include "render/texture.h"
#include "scene3ds/scene3ds.h"
#include "shared/globals.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"
#include "support/scenebuilder.h"

using namespace scenebuild;

namespace {

constexpr float Eps = 1e-5f;

// A quad over x0..x1, y0..y1 at depth z with texture coordinates 0..1, in the named material.
Mesh Rect(const std::string& name, float x0, float y0, float x1, float y1,
          const std::string& material = "", float z = 0) {
    Mesh m;
    m.name = name;
    m.verts = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
    m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.faces = {{0, 1, 2}, {0, 2, 3}};
    if (!material.empty())
        m.groups = {material};
    return m;
}

class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok());
        ASSERT_TRUE(cwd_.ok());
        headless::clearMessageBoxes();
        ASSERT_TRUE(testdata::writeFile("tex.bmp", bmpbuild::gradientFile(2, 2)));
    }

    std::unique_ptr<maxMesh> Load(const std::vector<Material>& materials,
                                  const std::vector<Mesh>& meshes) {
        EXPECT_TRUE(testdata::writeFile("model.3ds", scene(materials, meshes)));
        ClearErrList3ds();
        return std::make_unique<maxMesh>("model.3ds");
    }

    headless::OffscreenGL gl_;
    testdata::ScratchDir dir_;
    testdata::WorkingDir cwd_{dir_.path()};
};

} // namespace

TEST_F(ModelTest, CubeHasOutwardNormalsAndBoundingSpheres) {
    Mesh box = cube();
    auto model = Load({}, {box});
    ASSERT_EQ(model->numMeshes, 1);
    const MESH& m = model->meshes[0];
    ASSERT_EQ(m.numVerts, 8);
    ASSERT_EQ(m.numFaces, 12);
    EXPECT_NEAR(m.bounds.center.x, 1.0f, Eps);
    EXPECT_NEAR(m.bounds.center.z, 1.0f, Eps);
    EXPECT_NEAR(m.bounds.radius, std::sqrt(3.0f), Eps);
    for (int f = 0; f < 12; ++f) {
        // The face's sphere sits on its centroid (a right triangle with legs 2); its normal is
        // twice its area and points out of the cube along one axis.
        const FACE& face = m.faces[f];
        const Vector3f& c = face.bounds.center;
        Vector3f sum(-3 * c.x, -3 * c.y, -3 * c.z);
        for (int k = 0; k < 3; ++k)
            sum.add(m.verts[m.indices[3 * f + k]].pos);
        EXPECT_NEAR(sum.length, 0.0f, Eps) << "face " << f;
        EXPECT_EQ(m.indices[3 * f + 1], box.faces[f][1]);
        EXPECT_NEAR(face.bounds.radius, std::sqrt(20.0f) / 3, Eps);
        Vector3f out = c.difference(m.bounds.center);
        EXPECT_NEAR(face.normal.x * out.x + face.normal.y * out.y + face.normal.z * out.z, 4.0f,
                    Eps);
    }
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(m.vertexArray[3 * j + 1], box.verts[j].y);
        // Smoothed: unit length and leaning out of the cube on every axis at a corner.
        const float* n = &m.normalArray[3 * j];
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, Eps);
        Vector3f out = m.verts[j].pos.difference(m.bounds.center);
        EXPECT_GT(n[0] * out.x, 0.0f);
        EXPECT_GT(n[1] * out.y, 0.0f);
        EXPECT_GT(n[2] * out.z, 0.0f);
    }
}

TEST_F(ModelTest, MaterialsAreCopiedWithTexturesAndMatchedByFirstGroupName) {
    Material first{"dup", {255, 0, 0}, {0, 128, 0}, {0, 0, 255}, 25, "tex.bmp"};
    Material second{"dup", {0, 0, 0}, {0, 255, 0}, {0, 0, 0}, 0, ""};
    Material other{"other", {0, 0, 0}, {0, 0, 255}, {0, 0, 0}, 0, "MISSING.BMP"};
    Mesh a = Rect("a", 0, 0, 1, 1, "dup");
    Mesh b = Rect("b", 0, 0, 1, 1);
    b.groups = {"other", "dup"};             // only the first group counts
    Mesh c = Rect("c", 0, 0, 1, 1, "Other"); // names are case-sensitive
    Mesh d = Rect("d", 0, 0, 1, 1);          // no group at all
    auto model = Load({first, second, other}, {a, b, c, d});
    ASSERT_EQ(model->numMats, 3);
    // Colours show in the drawing test; shininess stays as the database holds it.
    const MATERIAL& p = model->mats[0];
    EXPECT_FLOAT_EQ(p.shininess, 0.25f);
    EXPECT_TRUE(p.hasTexture && glIsTexture(p.texture));
    // A missing texture file leaves the material textured with name 0, silently.
    EXPECT_TRUE(model->mats[2].hasTexture);
    EXPECT_EQ(model->mats[2].texture, 0u);
    EXPECT_TRUE(headless::messageBoxes().empty());
    const int want[] = {0, 2, -1, -1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(model->meshes[i].matIndex, want[i]) << i;
}

TEST_F(ModelTest, MeshesKeepFileOrderAndDropDamagedFacesAndShortCoordinateLists) {
    Mesh far = Rect("far", -1, -1, 1, 1, "", 50);
    far.uvs = {{0, 0}, {1, 0}, {1, 1}, {0.25f, 0.75f}};
    Mesh bad = Rect("bad", -1, -1, 1, 1);
    bad.uvs.pop_back();                                       // one short: none kept
    bad.faces = {{0, 1, 2}, {0, 2, 4}, {4, 1, 0}, {0, 2, 3}}; // 4 is one past the last vertex
    Mesh empty;
    empty.name = "empty";
    empty.faces = {{0, 1, 2}};
    auto model = Load({}, {far, bad, empty});
    ASSERT_EQ(model->numMeshes, 3);
    EXPECT_NEAR(model->meshes[0].bounds.center.z, 50.0f, Eps);
    const MESH& b = model->meshes[1];
    EXPECT_NEAR(b.bounds.center.z, 0.0f, Eps) << "each mesh has its own sphere";
    EXPECT_NEAR(b.bounds.radius, std::sqrt(2.0f), Eps);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(model->meshes[0].texCoordArray[2 * j + 1], far.uvs[j][1]);
        EXPECT_EQ(b.texCoordArray[2 * j], 0.0f);
    }
    ASSERT_EQ(b.numFaces, 2);
    EXPECT_EQ(b.indices[5], 3);
    EXPECT_EQ(b.verts[1].faceCount, 1);
    EXPECT_EQ(model->meshes[2].numFaces, 0);
    EXPECT_EQ(model->meshes[2].bounds.radius, 0.0f);

    maxMesh missing("no-such-model.3ds");
    EXPECT_EQ(missing.numMeshes, 0);
    missing.draw();
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(ModelTest, DrawingShowsMaterialsTexelsAndLeavesDamagedFacesOut) {
    Mesh plain = Rect("plain", -0.9f, -0.9f, -0.1f, -0.1f, "nosuch");
    plain.faces = {{0, 1, 2}, {0, 2, 40}}; // the upper-left triangle names a missing vertex
    auto model = Load({{"red", {255, 0, 0}, {10, 20, 30}, {40, 50, 60}, 30, ""},
                       {"tex", {0, 0, 0}, {255, 0, 0}, {0, 0, 0}, 0, "tex.bmp"}},
                      {Rect("red", -0.9f, 0.1f, -0.5f, 0.5f, "red"), plain,
                       Rect("pic", 0.1f, -0.4f, 0.9f, 0.4f, "tex")});
    using Rgb = std::array<int, 3>;
    auto texel = [](int x, int y) {
        bmpbuild::Rgb c = bmpbuild::gradient(x, y);
        return Rgb{c[0], c[1], c[2]};
    };
    struct Spot {
        int x, y;
        Rgb unlit, lit; // lit by a white ambient light only; -1: not checked
    };
    const Spot spots[] = {
        {96, 312, {10, 20, 30}, {255, 0, 0}},     // diffuse unlit, the material's ambient lit
        {224, 72, {204, 204, 204}, {51, 51, 51}}, // no material: the plain one
        {96, 168, {0, 0, 0}, {0, 0, 0}},          // the dropped triangle
        {416, 192, texel(0, 0), {-1}},            // texels unchanged: drawn in white
        {544, 192, texel(1, 0), {-1}},
        {416, 288, texel(0, 1), {-1}},
        {320, 400, {0, 0, 0}, {0, 0, 0}},
    };
    const float white[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    const bool saved = USE_LIGHTS;
    for (bool lit : {false, true}) {
        glViewport(0, 0, 640, 480);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        USE_LIGHTS = lit;
        if (lit)
            glEnable(GL_LIGHTING);
        model->draw();
        glDisable(GL_LIGHTING);
        glFinish();
        std::vector<unsigned char> fb = headless::readFramebuffer();
        for (const Spot& s : spots) {
            const unsigned char* p = &fb[(static_cast<size_t>(s.y) * 640 + s.x) * 4];
            Rgb want = lit ? s.lit : s.unlit;
            EXPECT_TRUE(want[0] < 0 || (Rgb{p[0], p[1], p[2]}) == want)
                << s.x << "," << s.y << " lit " << lit << ": " << int(p[0]) << "," << int(p[1]);
        }
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), model->mats[1].texture);
        glDisable(GL_TEXTURE_2D);
    }
    float diffuse[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 1.0f) << "the last mesh's material is left set";
    USE_LIGHTS = saved;
}

TEST_F(ModelTest, TexturesStayBoundAndFailuresMakeNone) {
    // The texels themselves show in the drawing test, whose 2 x 2 texture has unaligned rows.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    GLuint texture = LoadGLTextures("tex.bmp");
    ASSERT_NE(texture, 0u);
    GLint bound = 0, filter = 0, alignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2) << "the caller's alignment is left as found";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Missing files are silent; undecodable ones give the decoder's box. Neither makes a texture.
    EXPECT_EQ(LoadGLTextures("missing.bmp"), 0u);
    EXPECT_EQ(LoadGLTextures(nullptr), 0u);
    EXPECT_TRUE(headless::messageBoxes().empty());
    bmpbuild::Layout s;
    s.headerSize = 108;
    ASSERT_TRUE(testdata::writeFile("bad.bmp", bmpbuild::build(s)));
    EXPECT_EQ(LoadGLTextures("bad.bmp"), 0u);
    EXPECT_EQ(headless::messageBoxes().size(), 1u);
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, texture + 1);
}

// Our spheres against the quadric ones they replace, lit and tilted: of the solid one's 90,000 or
// so pixels a few channels may round differently, by a level.
TEST_F(ModelTest, OurSpheresDrawTheQuadricSpheresPicture) {
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 640.0 / 480.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.0f, 0.0f, -2.0f);
    glRotatef(30.0f, 1.0f, 0.3f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float specular[4] = {0.7f, 0.6f, 0.5f, 1.0f}, shininess = 20.0f; // shows the shading
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
    std::unique_ptr<GLUquadric, void (*)(GLUquadric*)> q(gluNewQuadric(), gluDeleteQuadric);
    gluQuadricNormals(q.get(), GLU_SMOOTH);
    for (bool wire : {false, true}) {
        gluQuadricDrawStyle(q.get(), wire ? GLU_LINE : GLU_FILL);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gluSphere(q.get(), 0.6, 15, 15);
        const auto theirs = headless::readFramebuffer();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        (wire ? drawWireSphere : drawSolidSphere)(0.6f, 15, 15);
        const auto ours = headless::readFramebuffer();
        int differ = 0, largest = 0;
        for (size_t c = 0; c < ours.size(); ++c) {
            differ += ours[c] != theirs[c];
            largest = std::max(largest, std::abs(ours[c] - theirs[c]));
        }
        EXPECT_TRUE(differ <= 100 && largest <= 2) << wire << ": " << differ << " by " << largest;
    }
}
