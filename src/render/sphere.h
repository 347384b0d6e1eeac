// Spheres drawn with plain GL primitives (indexed triangles, line strips), the same on the
// desktop and in the browser: the balls' solid sphere and the bounding spheres' wire one.
#pragma once

// Both are centred on the origin with their poles on the z axis (+radius first); slices run
// round z, stacks from pole to pole. Vertices carry smooth (unit, outward) normals and no
// texture coordinates. Nothing is drawn for fewer than 2 slices, 2 stacks or a negative radius.
// The solid sphere is drawn from the normal and vertex arrays, which it leaves switched off; the
// other client arrays must be off, as model drawing leaves them.
void drawSolidSphere(float radius, int slices, int stacks);
void drawWireSphere(float radius, int slices, int stacks);
