#include "gui/about_dialog.h"

#include <QLabel>
#include <QPushButton>

namespace lumbra {

AboutDialog::AboutDialog(const QString& text, QWidget* parent)
    : PictureDialog("About Corvalt Lumbra Novell NSS", 304, 265, "background_about", parent) {
    setObjectName("AboutDialog");
    auto* line = new QLabel(text);
    line->setObjectName("AboutText");
    line->setAlignment(Qt::AlignCenter);
    QFont bold = line->font();
    bold.setBold(true);
    line->setFont(bold);
    place(line, 10, 110, 284, 14);
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    place(ok, 125, 238, 54, 16);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace lumbra
