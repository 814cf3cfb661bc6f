#include "gui/captioned_values_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "gui/latin1.h"

namespace lumbra {

CaptionedValuesLook PropertiesLook() { return {"File/Folder Properties", 237, 204, "background_properties", 96}; }

CaptionedValuesLook DriveInformationLook() { return {"Drive Information", 248, 203, "background_drive_information", 80}; }

CaptionedValuesDialog::CaptionedValuesDialog(const CaptionedValuesLook& look, const std::vector<CaptionedValue>& rows,
                                             QWidget* parent)
    : PictureDialog(look.title, look.width, look.height, look.picture, parent) {
    setObjectName(QString(look.title).remove(' ').remove('/') + "Dialog");
    const int rowHeight = rows.size() > 5 ? 18 : 24;
    int top = 14;
    for (const CaptionedValue& row : rows) {
        auto* caption = new QLabel(Latin1(row.caption));
        place(caption, 14, top, look.valueLeft - 16, 10);
        auto* value = new QLabel(Latin1(row.value));
        value->setObjectName("Value");
        value->setTextFormat(Qt::PlainText);  // names and models from the disk are never rich text
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        place(value, look.valueLeft, top, look.width - look.valueLeft - 12, 10);
        top += rowHeight;
    }
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    place(ok, (look.width - 54) / 2, look.height - 26, 54, 16);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace lumbra
