#include "support/qt/balloon_on_screen.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTest>

namespace lumbra::test {

namespace {

constexpr int kWaitMs = 20000;

// What of the balloon lies over a see-through pixel.
enum class Cover { Nothing, Shadow };

struct Area {
    QRect global;
    Cover kind;
};

// Whether `is` still shows `was`: where nothing of the balloon covers it, but for rounding; under
// its shadow, darkened to no less than about half, or lightened by the shadow's grey where the
// screen was black. A black band fails both over a light window.
bool ShowsUnder(const QColor& was, const QColor& is, Cover kind) {
    const int before[] = {was.red(), was.green(), was.blue()};
    const int after[] = {is.red(), is.green(), is.blue()};
    int distance = 0;
    bool shadowed = true;
    for (int i = 0; i < 3; ++i) {
        distance += std::abs(before[i] - after[i]);
        shadowed = shadowed && after[i] >= before[i] * 55 / 100 - 4 && after[i] <= before[i] + 80;
    }
    return kind == Cover::Nothing ? distance <= 30 : shadowed;
}

QImage GrabRoot(const QString& moment) {
    const QString folder = qEnvironmentVariable("LUMBRA_X11_GRABS", QDir::tempPath());
    const QString test = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const QString path = folder + u'/' + test + u'_' + moment + ".png";
    if (QProcess::execute("import", {"-window", "root", path}) != 0) return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

std::vector<Area> SeeThroughAreas(const MarkupToolTip& tip) {
    const ToolTipShape& shape = tip.shape();
    const MarkupRect& b = shape.body;
    const int w = shape.window.width();
    const int h = shape.window.height();
    // Above the body (where the help balloon's anchor is), beside the anchor and its shadow.
    int anchorLeft = w, anchorRight = 0;
    for (const MarkupPoint& p : shape.anchor) {
        anchorLeft = std::min(anchorLeft, p.x);
        anchorRight = std::max(anchorRight, p.x);
    }
    if (!shape.hasAnchor) anchorLeft = anchorRight = w;
    std::vector<Area> areas = {
        {QRect(0, 0, anchorLeft - 2, b.top - 2), Cover::Nothing},
        {QRect(anchorRight + 10, 0, w - anchorRight - 10, b.top - 2), Cover::Nothing},
        {QRect(b.left, b.top, 2, 1), Cover::Nothing},
        {QRect(b.left, b.top, 1, 2), Cover::Nothing},
        {QRect(b.right - 2, b.top, 2, 1), Cover::Nothing},
        {QRect(b.left, b.bottom - 1, 1, 1), Cover::Nothing},
        {QRect(b.right + 3, b.top + 10, w - b.right - 3, b.height() - 20), Cover::Shadow},
        {QRect(b.left + 10, b.bottom + 3, b.width() - 20, h - b.bottom - 3), Cover::Shadow},
    };
    for (Area& area : areas) area.global.translate(tip.pos());
    return areas;
}

}  // namespace

bool MovePointer(const QPoint& global) {
    return QProcess::execute("xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y())}) == 0;
}

QImage SettledScreen(const QString& moment) {
    QImage last = GrabRoot(moment);
    QImage shot;
    const bool settled = QTest::qWaitFor([&] {
        shot = GrabRoot(moment);
        const bool same = !shot.isNull() && shot == last;
        last = shot;
        return same;
    }, kWaitMs);
    return settled ? shot : QImage();
}

QImage ScreenWithTheHelpBalloon(const MarkupToolTip& tip, const QString& moment) {
    const MarkupRect& body = tip.shape().body;
    const QRect inside =
        QRect(body.left, body.top, body.width(), body.height()).translated(tip.pos()).adjusted(8, 8, -8, -8);
    QImage shot;
    const bool shown = QTest::qWaitFor([&] {
        shot = GrabRoot(moment);
        int yellow = 0;
        for (int y = inside.top(); !shot.isNull() && y <= inside.bottom(); y += 2)
            for (int x = inside.left(); x <= inside.right(); x += 2) {
                const QColor c = shot.pixelColor(x, y);
                yellow += c.red() > 220 && c.green() > 220 && c.blue() < 200 ? 1 : 0;
            }
        return yellow > 100;
    }, kWaitMs);
    return shown ? shot : QImage();
}

int SeeThroughPixels(const MarkupToolTip& tip) {
    int count = 0;
    for (const Area& area : SeeThroughAreas(tip))
        if (!area.global.isEmpty()) count += area.global.width() * area.global.height();
    return count;
}

std::vector<std::string> StrayedUnderTheBalloon(const MarkupToolTip& tip, const QImage& before, const QImage& after,
                                                const QRect& skip) {
    std::vector<std::string> strayed;
    for (const Area& area : SeeThroughAreas(tip)) {
        for (int y = area.global.top(); y <= area.global.bottom(); ++y)
            for (int x = area.global.left(); x <= area.global.right(); ++x) {
                if (skip.contains(x, y) || !before.rect().contains(x, y)) continue;
                const QColor was = before.pixelColor(x, y);
                const QColor is = after.pixelColor(x, y);
                if (!ShowsUnder(was, is, area.kind))
                    strayed.push_back(std::to_string(x) + "," + std::to_string(y) + " " + was.name().toStdString() +
                                      " -> " + is.name().toStdString());
            }
    }
    return strayed;
}

}  // namespace lumbra::test
