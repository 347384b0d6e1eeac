// maxMesh::draw: each mesh through client-side vertex arrays and one indexed call, in its
// material (GL materials with lighting wanted, plain colours without).
#include "render/maxmesh.h"

#include <GL/gl.h>

#include "shared/globals.h"

const MATERIAL PlainMaterial = {{0.2f, 0.2f, 0.2f, 0.0f},
                                {0.8f, 0.8f, 0.8f, 0.0f},
                                {0.0f, 0.0f, 0.0f, 0.0f},
                                0.0f,
                                "",
                                "",
                                false,
                                0};

void maxMesh::draw() {
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int32_t i = 0; i < numMeshes; ++i) {
        const MESH& mesh = meshes[i];
        const MATERIAL& m =
            mesh.matIndex >= 0 && mesh.matIndex < numMats ? mats[mesh.matIndex] : PlainMaterial;
        if (USE_LIGHTS) {
            glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
            glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
            glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
            glMaterialfv(GL_FRONT, GL_SHININESS, &m.shininess);
        } else {
            glColor4fv(m.diffuse);
        }
        if (m.hasTexture) {
            glBindTexture(GL_TEXTURE_2D, m.texture);
            glEnable(GL_TEXTURE_2D);
            glColor3f(1.0f, 1.0f, 1.0f);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        glVertexPointer(3, GL_FLOAT, 0, mesh.vertexArray);
        glNormalPointer(GL_FLOAT, 0, mesh.normalArray);
        glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoordArray);
        if (mesh.numFaces > 0)
            glDrawElements(GL_TRIANGLES, mesh.numFaces * 3, GL_UNSIGNED_SHORT, mesh.indices);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}
