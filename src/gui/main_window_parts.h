#pragma once
// The controls of the main window, created and placed in dialog units by BuildMainWindowParts.
#include <QColor>
#include <array>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

namespace lumbra {

class DialogUnits;
class FileListView;
class GroupRadioButton;
class TreePane;
class ProgressBar;
class RoundGroupBox;
class TransparentLabel;

struct MainWindowParts {
    QWidget* client = nullptr;  // the client area, painted with the background picture
    std::array<QAbstractButton*, 7> toolbar{};
    QAbstractButton* homePage = nullptr;
    RoundGroupBox* rightFrame = nullptr;
    std::array<TransparentLabel*, 5> captions{};
    std::array<TransparentLabel*, 5> values{};
    TransparentLabel* statusLine = nullptr;
    RoundGroupBox* identifyFrame = nullptr;
    TransparentLabel* identifyCaption = nullptr;
    GroupRadioButton* usePartitionTable = nullptr;
    GroupRadioButton* searchPartition = nullptr;
    QAbstractButton* helpA = nullptr;
    TransparentLabel* rangeCaption = nullptr;
    RoundGroupBox* rangeFrame = nullptr;
    TransparentLabel* startCaption = nullptr;
    TransparentLabel* endCaption = nullptr;
    QLineEdit* startField = nullptr;
    QLineEdit* endField = nullptr;
    QAbstractButton* helpB = nullptr;
    QAbstractButton* back = nullptr;
    QAbstractButton* next = nullptr;
    QAbstractButton* stop = nullptr;
    ProgressBar* progress = nullptr;
    TransparentLabel* progressEstimate = nullptr;  // rate and time left, below the bar
    FileListView* fileList = nullptr;
    QLabel* quickHelp = nullptr;
};

// The rectangle of the left-pane trees, in pixels of the client area.
constexpr int kTreeLeft = 5;
constexpr int kTreeTop = 98;
constexpr int kTreeRight = 228;
constexpr int kTreeBottom = 418;

// The client area in dialog units.
constexpr int kClientWidth = 528;
constexpr int kClientHeight = 311;

// Creates every control of the client area at its place; all but the always-visible ones
// start hidden, as the wizard's start-up expects.
MainWindowParts BuildMainWindowParts(QWidget& client, const DialogUnits& units);

}  // namespace lumbra
