// Scene database: reads .3ds chunk files into a chunk tree and copies meshes and materials out.
// This header and the ones it includes are what other modules may use; the *_local.h headers
// are the module's own.
#pragma once

#include "scene3ds/errlist3ds.h"
#include "scene3ds/chunktags3ds.h"
#include "scene3ds/filetable3ds.h"
#include "scene3ds/database3ds.h"
#include "scene3ds/mesh3ds.h"
#include "scene3ds/material3ds.h"
