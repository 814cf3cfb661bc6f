#include "toolkit/qt/message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <map>

#include "platform/file_settings_store.h"
#include "toolkit/message_box_rules.h"
#include "toolkit/qt/bundled_fonts.h"
#include "toolkit/qt/markup_painting.h"
#include "toolkit/qt/markup_pictures.h"
#include "toolkit/qt/markup_qt_surface.h"

namespace lumbra {

using namespace message_box;

namespace {

constexpr int kTextMargin = 14;
constexpr int kButtonGap = 11;
constexpr int kIconSize = 32;

std::string ProgramName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

SettingsStore& StoreOf(const MessageBoxParams& params) {
    return params.settings ? *params.settings : DefaultSettingsStore();
}

// The desktop's stock icon of the style, registered once as a markup picture.
std::optional<uint32_t> StockIconHandle(uint32_t style, const MessageBoxParams& params) {
    if (style & kUserIcon) {
        bool ok = false;
        const int id = QString::fromStdString(params.iconResource).toInt(&ok);
        auto picture = ok ? MarkupPictures::instance().resource(id) : std::nullopt;
        if (!picture) return std::nullopt;
        return MarkupPictures::instance().registerHandle(*picture);
    }
    static std::map<uint32_t, uint32_t> handles;
    const uint32_t icon = style & kIconMask;
    if (icon == 0 || icon > kIconInformation) return std::nullopt;
    if (const auto it = handles.find(icon); it != handles.end()) return it->second;
    const QStyle::StandardPixmap kind = icon == kIconStop       ? QStyle::SP_MessageBoxCritical
                                        : icon == kIconQuestion ? QStyle::SP_MessageBoxQuestion
                                        : icon == kIconExclamation ? QStyle::SP_MessageBoxWarning
                                                                   : QStyle::SP_MessageBoxInformation;
    const QImage image = QApplication::style()->standardIcon(kind).pixmap(kIconSize, kIconSize).toImage();
    if (image.isNull()) return std::nullopt;
    const uint32_t handle = MarkupPictures::instance().registerHandle(image);
    handles[icon] = handle;
    return handle;
}

}  // namespace

uint32_t MarkupMessageBox::RememberedAnswer(uint32_t style, const MessageBoxParams& params) {
    if (!(style & kRemember) || params.registryPrefix.empty()) return 0;
    const auto value = StoreOf(params).readNumber(RememberedAnswerKey(params.registrySection, ProgramName()),
                                                  RememberedAnswerName(params.registryPrefix, params.registryNumber));
    return value.value_or(0);
}

uint32_t MarkupMessageBox::Show(QWidget* owner, const std::string& text, const std::string& caption,
                                uint32_t style, const MessageBoxParams* params) {
    const MessageBoxParams given = params ? *params : MessageBoxParams{};
    if (const uint32_t remembered = RememberedAnswer(style, given)) return remembered;
    if (!(style & kNoSound) && (style & kIconMask)) QApplication::beep();
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = owner ? owner : QApplication::activeWindow();
    MarkupMessageBox box(parent, text, caption, style, given);
    box.exec();
    return box.answer();
}

MarkupMessageBox::MarkupMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                                   uint32_t style, const MessageBoxParams& params)
    : QDialog(owner), params_(params), style_(style), text_(text) {
    caption_ = BoxCaption(caption, owner ? owner->windowTitle().toStdString() : std::string());
    setWindowTitle(QString::fromStdString(caption_));
    setModal(true);
    setMouseTracking(true);
    buttonIds_ = MessageBoxButtons(style, params_);
    hasCancel_ = HasCancel(buttonIds_);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (hasCancel_) flags |= Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    defaultIndex_ = DefaultButtonIndex(style, buttonIds_.size());
    if (!params_.fontFamily.empty()) {
        setFont(QFont(BundledFamilyFor(QString::fromStdString(params_.fontFamily)), params_.fontPointSize > 0 ? params_.fontPointSize : -1));
    }
    buildButtons();
    prepareAreas(text);
    layOut();
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &MarkupMessageBox::tick);
    startCountdowns();
}

MarkupMessageBox::~MarkupMessageBox() = default;

void MarkupMessageBox::buildButtons() {
    for (size_t i = 0; i < buttonIds_.size(); ++i) {
        const int id = buttonIds_[i];
        auto* button = new QPushButton(QString::fromStdString(ButtonCaption(id, style_, params_)), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id] { press(id); });
        buttons_.push_back(button);
    }
    if (!buttons_.empty()) {
        buttons_[static_cast<size_t>(defaultIndex_)]->setDefault(true);
        buttons_[static_cast<size_t>(defaultIndex_)]->setFocus();
    }
    if (style_ & kRemember) {
        checkBox_ = new QCheckBox(QString::fromStdString(CheckBoxCaption(style_, params_)), this);
    }
}

void MarkupMessageBox::prepareAreas(const std::string& text) {
    QtMarkupSurface measuring;
    const LinkActions links = DesktopLinkActions();
    auto prepare = [&](Area& area, const std::string& markup, const MessageBoxBackground& background) {
        area.background = background;
        area.present = !markup.empty();
        area.drawer.setLinkActions(links);
        area.drawer.setHoverNotification([this](int) { update(); });
        area.size = area.drawer.prepare(measuring, markup);
    };
    prepare(header_, params_.headerText, params_.header);
    prepare(message_, MessageMarkup(text, style_, StockIconHandle(style_, params_), kIconSize, params_.iconCellPadding),
            params_.message);
    message_.present = true;
    prepare(more_, params_.moreText, params_.more);
}

void MarkupMessageBox::layOut() {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (size_t i = 0; i < buttonIds_.size(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(buttons_[i]->text()));
        if (buttonIds_[i] == kMore) widest = std::max(widest, metrics.horizontalAdvance(DefaultCaption(kLessMore)));
    }
    // A countdown on the default button starts at its longest caption, "OK = 10".
    const int countdown = std::max(params_.countdownInCaption ? 0 : params_.disabledSeconds, params_.autoSeconds);
    if (countdown > 0 && !buttons_.empty()) {
        const std::string caption = buttons_[static_cast<size_t>(defaultIndex_)]->text().toStdString();
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(CountdownButtonCaption(caption, countdown))));
    }
    const MarkupSize size = ButtonSize(widest, metrics.height());
    buttonSize_ = QSize(size.width, size.height);
    const int count = static_cast<int>(buttons_.size());
    int rowWidth = count * buttonSize_.width() + std::max(count - 1, 0) * kButtonGap;
    int checkWidth = 0;
    if (checkBox_) {
        checkWidth = metrics.horizontalAdvance(checkBox_->text()) + 2 * 10 + 20;
        checkBox_->resize(checkWidth, buttonSize_.height());
    }
    if (checkBox_ && (style_ & kCheckBoxInButtonRow)) rowWidth += kButtonGap + checkWidth;
    int clientWidth = std::max(rowWidth, checkWidth) + 2 * kButtonGap;
    for (const Area* area : {&header_, &message_, &more_}) {
        if (area->present) clientWidth = std::max(clientWidth, area->size.width + 2 * kTextMargin);
    }
    int y = 0;
    for (Area* area : {&header_, &message_}) {
        if (!area->present) continue;
        area->rect = QRect(0, y, clientWidth, area->size.height + 2 * kTextMargin);
        y += area->rect.height();
    }
    if (checkBox_ && !(style_ & kCheckBoxInButtonRow)) {
        checkBox_->move(kButtonGap, y);
        y += buttonSize_.height();
    }
    placeButtons(y + kButtonGap, clientWidth);
    y += buttonSize_.height() + 2 * kButtonGap;
    collapsedHeight_ = y;
    if (more_.present) more_.rect = QRect(0, y, clientWidth, more_.size.height + 2 * kTextMargin);
    const int height = y + (expanded_ ? more_.rect.height() : 0);
    setFixedSize(clientWidth, height);
    windowBackground_ = QImage();
    const QWidget* anchor = parentWidget();
    const QRect around = anchor ? anchor->frameGeometry()
                                : (QApplication::primaryScreen() ? QApplication::primaryScreen()->availableGeometry()
                                                                 : QRect(0, 0, clientWidth, height));
    move(around.center() - QPoint(clientWidth / 2, height / 2));
}

void MarkupMessageBox::placeButtons(int top, int clientWidth) {
    const int count = static_cast<int>(buttons_.size());
    int rowWidth = count * buttonSize_.width() + std::max(count - 1, 0) * kButtonGap;
    const bool checkInRow = checkBox_ && (style_ & kCheckBoxInButtonRow);
    if (checkInRow) rowWidth += kButtonGap + checkBox_->width();
    int x = kButtonGap;
    if (params_.buttonAlignment == 1) x = clientWidth - kButtonGap - rowWidth;
    if (params_.buttonAlignment == 2) x = (clientWidth - rowWidth) / 2;
    if (checkInRow) {
        checkBox_->move(x, top);
        x += checkBox_->width() + kButtonGap;
    }
    for (QPushButton* button : buttons_) {
        button->setGeometry(x, top, buttonSize_.width(), buttonSize_.height());
        x += buttonSize_.width() + kButtonGap;
    }
}

QPushButton* MarkupMessageBox::button(int id) const {
    for (size_t i = 0; i < buttonIds_.size(); ++i) {
        if (buttonIds_[i] == id || (id == kLessMore && buttonIds_[i] == kMore)) return buttons_[i];
    }
    return nullptr;
}

bool MarkupMessageBox::closeBoxEnabled() const {
    return hasCancel_ && disabledLeft_ == 0 && (windowFlags() & Qt::WindowCloseButtonHint);
}

void MarkupMessageBox::remember(uint32_t result) const {
    if (params_.registryPrefix.empty()) return;
    StoreOf(params_).writeNumber(RememberedAnswerKey(params_.registrySection, ProgramName()),
                                 RememberedAnswerName(params_.registryPrefix, params_.registryNumber), result);
}

void MarkupMessageBox::openHelp() const {
    QFileInfo program(QCoreApplication::applicationFilePath());
    const QString helpFile = program.absolutePath() + "/" + program.completeBaseName() + ".hlp";
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}

}  // namespace lumbra
