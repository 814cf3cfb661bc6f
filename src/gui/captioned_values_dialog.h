#pragma once
// A display-only dialog of captions and their values with an OK button: "File/Folder
// Properties" and "Drive Information".
#include <vector>

#include "app/dialog_values.h"
#include "gui/picture_dialog.h"

namespace lumbra {

struct CaptionedValuesLook {
    QString title;
    int width;        // dialog units
    int height;
    QString picture;
    int valueLeft;    // where the values start, dialog units
};

class CaptionedValuesDialog : public PictureDialog {
    Q_OBJECT
public:
    CaptionedValuesDialog(const CaptionedValuesLook& look, const std::vector<CaptionedValue>& rows, QWidget* parent);
};

CaptionedValuesLook PropertiesLook();
CaptionedValuesLook DriveInformationLook();

}  // namespace lumbra
