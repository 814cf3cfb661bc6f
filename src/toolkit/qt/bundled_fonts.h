#pragma once
// The faces every window, dialog and markup text is laid out with travel inside the program, so
// that the windows have the pixel sizes their pictures were drawn for on every machine, whatever
// fonts the machine has (or lacks).
#include <QString>

namespace lumbra {

// Registers the program's faces once; later calls do nothing. Safe before any window exists.
void LoadBundledFonts();

// Registers the faces and makes the program's sans face the application's default font,
// keeping the default's size. Called by every program's main before a window is created.
void UseBundledFonts();

// The bundled family that stands in for a face a text asks for: the monospaced face for
// typewriter faces, the family itself when it is bundled, else the sans face.
QString BundledFamilyFor(const QString& requested);

}  // namespace lumbra
