// The controls of the main window at their places, in dialog units of the dialog font.
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "app/command_table.h"
#include "gui/latin1.h"
#include "gui/dialog_units.h"
#include "gui/file_list_view.h"
#include "gui/main_window_parts.h"
#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/hover_button.h"
#include "toolkit/qt/pictures.h"
#include "toolkit/qt/progress_bar.h"
#include "toolkit/qt/round_group_box.h"
#include "toolkit/qt/transparent_label.h"

namespace lumbra {

namespace {

// The x of toolbar buttons 1 to 7, dialog units.
constexpr std::array<int, kToolbarButtons> kToolbarLefts{13, 71, 133, 195, 255, 315, 376};

constexpr std::array<int, 5> kInfoRowTops{70, 89, 110, 130, 149};

// Captions of the information panel and the option groups are written in dark blue.
const QColor kCaptionColour(0x00, 0x00, 0x80);

// A picture button from a strip of normal, pressed and hovered frames.
HoverButton* PictureButton(QWidget& client, const QString& picture, int frames, const QString& tooltip,
                           const QString& name) {
    auto* button = new HoverButton(&client);
    button->setObjectName(name);
    button->setBitmap(PictureImage(picture), frames);
    button->setToolTip(tooltip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Places a button at its rectangle with its picture's own size, centred in the rectangle.
void PlaceCentred(QWidget* button, QRect rect) {
    const QSize size = button->sizeHint();
    button->setGeometry(rect.x() + (rect.width() - size.width()) / 2, rect.y() + (rect.height() - size.height()) / 2,
                        size.width(), size.height());
}

TransparentLabel* Label(QWidget& client, const DialogUnits& units, const QString& text, QRect rect,
                        const QString& name) {
    auto* label = new TransparentLabel(text, &client);
    label->setObjectName(name);
    label->setGeometry(units.rect(rect.x(), rect.y(), rect.width(), rect.height()));
    return label;
}

void BuildToolbar(QWidget& client, const DialogUnits& units, MainWindowParts& parts) {
    for (int button = 1; button <= kToolbarButtons; ++button) {
        const auto info = ToolbarButtonAt(button);
        HoverButton* tool = PictureButton(client, QString("toolbar_%1").arg(button), 3,
                                          info ? Latin1(info->tooltip) : QString(), QString("Toolbar%1").arg(button));
        PlaceCentred(tool, units.rect(kToolbarLefts[static_cast<size_t>(button - 1)], 13, 45, 42));
        parts.toolbar[static_cast<size_t>(button - 1)] = tool;
    }
    parts.homePage = PictureButton(client, "home_page", 3, "Click here to visit software home page", "HomePage");
    PlaceCentred(parts.homePage, units.rect(425, 3, 91, 35));
}

void BuildInfoPanel(QWidget& client, const DialogUnits& units, MainWindowParts& parts) {
    for (size_t row = 0; row < 5; ++row) {
        const int top = kInfoRowTops[row];
        parts.captions[row] = Label(client, units, {}, {176, top, 98, 10}, QString("InfoCaption%1").arg(row + 1));
        parts.captions[row]->setTextColour(kCaptionColour);
        parts.values[row] = Label(client, units, {}, {302, top, 97 + 100, 10}, QString("InfoValue%1").arg(row + 1));
    }
    parts.statusLine = Label(client, units, {}, {160, 214, 258, 8}, "StatusLine");
}

void BuildIdentifyGroup(QWidget& client, const DialogUnits& units, MainWindowParts& parts) {
    parts.identifyFrame = new RoundGroupBox({}, &client);
    parts.identifyFrame->setGeometry(units.rect(176, 206, 123, 47));
    parts.identifyCaption = Label(client, units, "Volume Identify Options", {186, 202, 91, 10}, "IdentifyCaption");
    parts.identifyCaption->setTextColour(kCaptionColour);
    parts.usePartitionTable = new GroupRadioButton("Use Partition Table", &client);
    parts.usePartitionTable->setObjectName("UsePartitionTable");
    parts.usePartitionTable->setGeometry(units.rect(186, 215, 86, 14));
    parts.searchPartition = new GroupRadioButton("Search Partition", &client);
    parts.searchPartition->setObjectName("SearchPartition");
    parts.searchPartition->setGeometry(units.rect(185, 233, 83, 13));
    parts.helpA = PictureButton(client, "help_button", 1, {}, "HelpButtonA");
    PlaceCentred(parts.helpA, units.rect(271, 225, 11, 12));
}

void BuildRangeGroup(QWidget& client, const DialogUnits& units, MainWindowParts& parts) {
    parts.rangeFrame = new RoundGroupBox({}, &client);
    parts.rangeFrame->setGeometry(units.rect(329, 206, 167, 47));
    parts.rangeCaption = Label(client, units, "Select Range", {339, 202, 52, 10}, "RangeCaption");
    parts.rangeCaption->setTextColour(kCaptionColour);
    parts.startCaption = Label(client, units, "Start Sector", {336, 215, 57, 9}, "StartCaption");
    parts.endCaption = Label(client, units, "End Sector", {336, 235, 57, 9}, "EndCaption");
    // Number fields: only digits can be typed.
    const auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), &client);
    parts.startField = new QLineEdit(&client);
    parts.startField->setObjectName("StartField");
    parts.startField->setValidator(digits);
    parts.startField->setGeometry(units.rect(397, 215, 72, 12));
    parts.endField = new QLineEdit(&client);
    parts.endField->setObjectName("EndField");
    parts.endField->setValidator(digits);
    parts.endField->setGeometry(units.rect(397, 235, 72, 12));
    parts.helpB = PictureButton(client, "help_button", 1, {}, "HelpButtonB");
    PlaceCentred(parts.helpB, units.rect(478, 225, 11, 12));
}

void BuildNavigation(QWidget& client, const DialogUnits& units, MainWindowParts& parts) {
    parts.back = PictureButton(client, "nav_back", 3, "Go to previous step", "BackButton");
    PlaceCentred(parts.back, units.rect(404, 260, 33, 30));
    parts.next = PictureButton(client, "nav_next", 3, "Go to next step", "NextButton");
    PlaceCentred(parts.next, units.rect(459, 260, 33, 30));
    parts.stop = PictureButton(client, "nav_stop", 3, "Stops the current process", "StopButton");
    PlaceCentred(parts.stop, units.rect(474, 217, 33, 30));
    parts.progress = new ProgressBar(&client);
    parts.progress->setObjectName("ProgressBar");
    parts.progress->setRange(0, 100);
    parts.progress->setGeometry(units.rect(156, 226, 294, 12));
    parts.progressEstimate = Label(client, units, {}, {156, 241, 294, 9}, "ProgressEstimate");
}

}  // namespace

MainWindowParts BuildMainWindowParts(QWidget& client, const DialogUnits& units) {
    MainWindowParts parts;
    parts.client = &client;
    BuildToolbar(client, units, parts);
    parts.rightFrame = new RoundGroupBox({}, &client);
    parts.rightFrame->setObjectName("RightFrame");
    parts.rightFrame->setGeometry(units.rect(153, 57, 371, 200));
    BuildInfoPanel(client, units, parts);
    BuildIdentifyGroup(client, units, parts);
    BuildRangeGroup(client, units, parts);
    BuildNavigation(client, units, parts);
    parts.fileList = new FileListView(&client);
    parts.fileList->setObjectName("FileList");
    parts.fileList->setGeometry(units.rect(155, 62, 368, 196));
    parts.quickHelp = new QLabel(&client);
    parts.quickHelp->setObjectName("QuickHelp");
    parts.quickHelp->setWordWrap(true);
    parts.quickHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    parts.quickHelp->setGeometry(units.rect(13, 260, 384, 38));
    for (QWidget* hidden : std::initializer_list<QWidget*>{parts.rangeCaption, parts.rangeFrame, parts.startCaption,
                                                            parts.endCaption, parts.startField, parts.endField,
                                                            parts.helpB, parts.back, parts.next, parts.stop,
                                                            parts.progress, parts.progressEstimate, parts.fileList})
        hidden->hide();
    return parts;
}

}  // namespace lumbra
