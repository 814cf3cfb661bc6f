#pragma once
// Whether the platform lets a window read the screen and grab the pointer. An X server does;
// a Wayland compositor does neither: there a tooltip's shadow and fade come from its translucent
// window alone, and a button that follows the mouse learns that it left from its leave event.
namespace lumbra {

bool PlatformCanGrab();

}  // namespace lumbra
