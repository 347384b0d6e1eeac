// The parent-name pass over a keyframer block, run once when a database is built.
#pragma once

#include "scene3ds/database3ds.h"

// Stores each keyframer node's parent's full name in its node header; false on a failure
// (reported).
bool AssignParentNames3ds(database3ds* db);
