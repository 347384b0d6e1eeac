// Scene database: reads .3ds chunk files into a chunk tree and copies meshes and materials out.
#pragma once

#include "scene3ds/errlist3ds.h"
#include "scene3ds/chunktags3ds.h"
#include "scene3ds/database3ds.h"
#include "scene3ds/mesh3ds.h"
#include "scene3ds/material3ds.h"
