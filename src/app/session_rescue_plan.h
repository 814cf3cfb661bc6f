#pragma once
// The Disk Map's rescue plan: the plan of what the session knows of the open drive, as its
// picture shows it (the pools, and from the volume step on the selected pool's metadata, in the
// browse step the volume's B-tree blocks and files).
#include <optional>
#include <string>

#include "app/session.h"
#include "picture/rescue_plan.h"
#include "recovery/save_driver.h"

namespace lumbra {

// The domain mapfile of the plan. The files are those of `selection` when it takes any, else
// every file of the volume.
std::string SessionRescuePlanText(Session& session, PlanContent content, const SaveSelection& selection);

// Writes that plan to `path`, never over a file the session reads nor onto the disk being
// recovered; the reason when it was not written.
std::optional<std::string> SaveSessionRescuePlan(Session& session, const std::string& path, PlanContent content,
                                                 const SaveSelection& selection);

}  // namespace lumbra
