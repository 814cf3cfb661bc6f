#pragma once
// The busy cursor of steps that run on the user-interface thread. A step the user starts may
// read the disk or fill a large list before the window answers again, so the cursor shows
// busy from its start until the event loop runs again: at the end of the step, or as soon as
// a dialog the step opens takes over.
namespace lumbra {

void ShowBusyUntilIdle();

}  // namespace lumbra
