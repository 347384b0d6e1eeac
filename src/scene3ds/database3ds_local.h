// Module-internal database operations: the cached name lists mesh and material lookups use.
#pragma once

#include "scene3ds/database3ds.h"

// Rebuild the cached list of named objects or of materials when it is stale.
void RefreshObjectList3ds(database3ds* db);
void RefreshMaterialList3ds(database3ds* db);
