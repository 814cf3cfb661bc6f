#pragma once
// "About Corvalt Lumbra Novell NSS": the version line over the picture, and OK.
#include "gui/picture_dialog.h"

namespace lumbra {

class AboutDialog : public PictureDialog {
    Q_OBJECT
public:
    AboutDialog(const QString& text, QWidget* parent);
};

}  // namespace lumbra
