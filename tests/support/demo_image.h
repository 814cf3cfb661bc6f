#pragma once
// The bundled demo disk: an MBR with two pools (OFFICE in one segment with the volumes USERS
// and SHARED; ARCHIVE in three segments, segment 0's header last in the chain, with the volume
// ARCHIVE), a few hundred folders and a couple of thousand files with realistic names, sizes and
// dates, some Latin-1 names, three folders whose parent is missing and one damaged leaf in
// SHARED. The plan is the same on every call, so tests rebuild it to get expected contents.
#include "support/nss_image_plan.h"

namespace lumbra::test {

DiskPlan demoImagePlan();

}  // namespace lumbra::test
