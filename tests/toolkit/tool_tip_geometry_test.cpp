#include <gtest/gtest.h>

#include "toolkit/tool_tip_geometry.h"
#include "toolkit/window_information.h"

namespace lumbra {
namespace {

const MarkupRect kScreen{0, 0, 800, 600};

TEST(ToolTipGeometry, BalloonOnTheTopEdgePointsUpAtTheCursor) {
    const ToolTipShape s = LayoutToolTip({100, 40}, ToolTipSizes::Balloon(), anchor::kTop, {200, 100}, kScreen, {6, 6});
    EXPECT_EQ(s.direction, anchor::kTop);
    EXPECT_TRUE(s.hasAnchor);
    EXPECT_EQ(s.body, (MarkupRect{0, 16, 124, 16 + 64}));
    EXPECT_EQ(s.anchor[2], (MarkupPoint{16, 0}));
    EXPECT_EQ(s.window, (MarkupRect{200 - 16, 100, 200 - 16 + 124 + 6, 100 + 80 + 6}));
    EXPECT_EQ(s.text, (MarkupRect{12, 28, 112, 68}));
}

TEST(ToolTipGeometry, AnchorPlaces) {
    const auto sizes = ToolTipSizes::Balloon();
    const ToolTipShape end = LayoutToolTip({100, 40}, sizes, anchor::kTop + anchor::kFromEnd, {400, 100}, kScreen, {});
    EXPECT_EQ(end.anchor[2].x, 124 - 16);
    const ToolTipShape centred = LayoutToolTip({100, 40}, sizes, 2, {400, 100}, kScreen, {});
    EXPECT_EQ(centred.anchor[2].x, 62);
    EXPECT_EQ(centred.window.left, 400 - 62);
    const ToolTipShape left = LayoutToolTip({100, 40}, sizes, anchor::kLeft, {400, 100}, kScreen, {});
    EXPECT_EQ(left.anchor[2], (MarkupPoint{0, 16}));
    EXPECT_EQ(left.body.left, 16);
    EXPECT_EQ(left.window.left, 400);
}

TEST(ToolTipGeometry, MirrorsAtTheBottomAndRightEdges) {
    const auto sizes = ToolTipSizes::Balloon();
    const ToolTipShape bottom = LayoutToolTip({100, 40}, sizes, anchor::kTop, {200, 590}, kScreen, {});
    EXPECT_EQ(bottom.direction, anchor::kBottom);
    EXPECT_EQ(bottom.window.bottom, 590);
    const ToolTipShape right = LayoutToolTip({100, 40}, sizes, anchor::kTop, {780, 100}, kScreen, {});
    EXPECT_EQ(right.direction, anchor::kTop + anchor::kFromEnd);
    EXPECT_EQ(right.window.right, 780 + 16);
    const ToolTipShape side = LayoutToolTip({100, 40}, sizes, anchor::kLeft, {790, 100}, kScreen, {});
    EXPECT_EQ(side.direction, anchor::kRight);
    EXPECT_EQ(side.window.right, 790);
}

TEST(ToolTipGeometry, WhatStillSticksOutIsPushedBack) {
    const ToolTipShape s = LayoutToolTip({900, 40}, ToolTipSizes::Balloon(), 2, {400, 100}, kScreen, {});
    EXPECT_EQ(s.window.left, 0);
}

TEST(ToolTipGeometry, RectangularLookHasNoAnchor) {
    const ToolTipShape s = LayoutToolTip({50, 20}, ToolTipSizes::Rectangular(), anchor::kBottom, {300, 300}, kScreen, {});
    EXPECT_FALSE(s.hasAnchor);
    EXPECT_EQ(s.body, (MarkupRect{0, 0, 56, 22}));
    EXPECT_EQ(s.window, (MarkupRect{300, 300 - 22, 356, 300}));
}

TEST(WindowInformation, TableOfTheWindowItsOwnerAndTheMouse) {
    WindowInformation info;
    info.className = "QPushButton";
    info.title = "<b>Next</b>";
    info.handle = 0xabc;
    info.left = 10;
    info.top = 20;
    info.right = 110;
    info.bottom = 50;
    info.ownerTitle = "<Main> window with a very long title";
    info.mouseX = 15;
    const std::string markup = WindowInformationMarkup(info);
    EXPECT_EQ(markup.rfind("<table><tr><td><font color=darkblue>Window</font><table border=1>", 0), 0u);
    EXPECT_NE(markup.find("<td width=130 bgcolor=window>0x00000ABC</td>"), std::string::npos);
    EXPECT_NE(markup.find("(10, 20)-(110, 50)"), std::string::npos);
    EXPECT_NE(markup.find(">100</td>"), std::string::npos);
    EXPECT_NE(markup.find("&lt;b>Next&lt;/b>"), std::string::npos);  // drawn as it reads
    EXPECT_NE(markup.find("?Main> window with a  ..."), std::string::npos);
    EXPECT_NE(markup.find(">No</td>"), std::string::npos);
    EXPECT_EQ(OwnerText("short"), "short");
}

}  // namespace
}  // namespace lumbra
