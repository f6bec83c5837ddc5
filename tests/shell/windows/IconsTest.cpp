// The icons of the commands and of the program: the desktop theme's where it has them, the bundled ones
// legible on light and dark windows, and a program icon drawn for 16 pixels.
#include "core/text/Severity.h"
#include "platform/qt/resources/Resources.h"
#include "shell/commands/Command.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace kestrano::test {
namespace {

// How many of the icon's opaque pixels (drawn at 16 x 16) stand out in lightness from the window's colour.
int legiblePixels(const QIcon& icon, const QColor& window)
{
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    int legible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = QColor::fromRgba(image.pixel(x, y));
            if (pixel.alpha() < 160)
                continue;
            if (std::abs(pixel.lightness() - window.lightness()) >= 60)
                ++legible;
        }
    }
    return legible;
}

// Whether the icon shows a figure on the window's colour: some of it stands out from the window, and
// inside its outline enough stands out from its main ink (a glyph, or the window showing through) that
// it is no flat blot.
int figurePixels(const QIcon& icon, const QColor& window)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(window);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, icon.pixmap(16, 16));
    painter.end();
    const auto lightness = [&image](int x, int y) { return QColor(image.pixel(x, y)).lightness(); };
    QRect bounds;
    std::vector<int> ink;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (std::abs(lightness(x, y) - window.lightness()) >= 60) {
                bounds |= QRect(x, y, 1, 1);
                ink.push_back(lightness(x, y));
            }
        }
    }
    if (ink.size() < 10)
        return 0;
    std::nth_element(ink.begin(), ink.begin() + static_cast<long>(ink.size() / 2), ink.end());
    const int mainInk = ink[ink.size() / 2];
    // Inside the outline: rounded corners and edges tell nothing.
    const QRect inside = bounds.adjusted(2, 2, -2, -2);
    int within = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            within += std::abs(lightness(x, y) - mainInk) >= 60;
    return within;
}

bool showsAFigure(const QIcon& icon, const QColor& window)
{
    return figurePixels(icon, window) >= 8;
}

class PaletteScope {
public:
    explicit PaletteScope(const QPalette& palette) { QApplication::setPalette(palette); }
    ~PaletteScope() { QApplication::setPalette(saved); }

private:
    QPalette saved = QApplication::palette();
};

using IconsOfTheProgramTest = ShellTest;

TEST(IconsTest, AFlatSquareShowsNoFigure)
{
    // Unknowns was so on a dark window: a light square, its "?" in light ink.
    QPixmap square(16, 16);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.fillRect(1, 1, 14, 14, QColor(0xee, 0xee, 0xee));
    painter.setPen(QColor(0xdd, 0xdd, 0xdd));
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    painter.end();
    EXPECT_FALSE(showsAFigure(QIcon(square), QColor(0x2a, 0x2e, 0x32)))
        << figurePixels(QIcon(square), QColor(0x2a, 0x2e, 0x32));
}

TEST(IconsTest, EveryBundledCommandIconIsLegibleOnLightAndDarkWindows)
{
    QIcon::setThemeName(QString()); // the bundled pictures only
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2a, 0x2e, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x31, 0x36, 0x3b));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xef, 0xef, 0xef));
    light.setColor(QPalette::WindowText, Qt::black);
    for (const QPalette& palette : {light, dark}) {
        PaletteScope scope(palette);
        for (const CommandInfo& info : commandTable()) {
            if (!info.icon)
                continue;
            // The dark inks of Options and Follow gave 10 and 12 pixels on a dark window.
            EXPECT_GE(legiblePixels(commandIcon(info.icon), palette.color(QPalette::Window)), 30)
                << info.icon << (darkPalette() ? " on dark" : " on light");
            // Unknowns was a light square with its "?" in light ink on a dark window.
            EXPECT_TRUE(showsAFigure(commandIcon(info.icon), palette.color(QPalette::Window)))
                << figurePixels(commandIcon(info.icon), palette.color(QPalette::Window)) << " " << info.icon
                << (darkPalette() ? " on dark" : " on light");
        }
        // The severities keep their own colours on either window.
        for (const Severity::Named& severity : Severity::Table)
            EXPECT_TRUE(showsAFigure(resourceIcon(severity.icon), palette.color(QPalette::Window)))
                << severity.icon << (darkPalette() ? " on dark" : " on light");
        EXPECT_TRUE(showsAFigure(programIcon(), palette.color(QPalette::Window)));
    }
}

TEST_F(IconsOfTheProgramTest, ToolbarsFollowAPaletteChangedWhileRunning)
{
    QIcon::setThemeName(QString());
    const std::string path = log("app.log", "x\n");
    start({path});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    const QColor window(0x2a, 0x2e, 0x32);
    {
        QPalette dark;
        dark.setColor(QPalette::Window, window);
        dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
        PaletteScope scope(dark);
        QCoreApplication::processEvents(); // the windows hear of it through their event queue
        EXPECT_GE(legiblePixels(frame.action(Command::Options)->icon(), window), 30);
        EXPECT_GE(legiblePixels(child->toolBarAction(Command::ToggleFollow)->icon(), window), 30);
    }
    // And back.
    QCoreApplication::processEvents();
    const QImage light = commandIcon("options.svg").pixmap(16, 16).toImage();
    EXPECT_EQ(frame.action(Command::Options)->icon().pixmap(16, 16).toImage(), light);
}

TEST(IconsTest, TheDesktopThemeGivesTheCommandIconsButNotTheSeverities)
{
    TempDir themes;
    const std::string theme = themes.file("plain");
    std::filesystem::create_directories(theme + "/16x16/actions");
    writeFile(theme + "/index.theme",
        "[Icon Theme]\nName=plain\nDirectories=16x16/actions\n\n[16x16/actions]\nSize=16\nType=Fixed\n");
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::magenta);
    for (const char* name : {"document-open", "preferences-system", "dialog-error"})
        ASSERT_TRUE(square.save(QString::fromStdString(theme + "/16x16/actions/" + name + ".png")));
    const QStringList savedPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({QString::fromStdString(themes.path())});
    QIcon::setThemeName(QStringLiteral("plain"));

    EXPECT_EQ(commandIcon("open.svg").name(), QStringLiteral("document-open"));
    // "configure" is missing: the next name of that job.
    EXPECT_EQ(commandIcon("options.svg").name(), QStringLiteral("preferences-system"));
    // Not in the theme: the bundled picture.
    EXPECT_TRUE(commandIcon("cascade.svg").name().isEmpty());
    EXPECT_FALSE(commandIcon("cascade.svg").isNull());
    // A severity is Kestrano's own whatever the theme holds.
    EXPECT_TRUE(commandIcon("error.svg").name().isEmpty());

    QIcon::setThemeName(QString());
    QIcon::setThemeSearchPaths(savedPaths);
}

TEST(IconsTest, TheProgramIconHasAPictureDrawnFor16Pixels)
{
    const QIcon icon = programIcon();
    const QImage small = icon.pixmap(16, 16).toImage();
    EXPECT_EQ(small, QIcon(QStringLiteral(":/icons/kestrano-16.svg")).pixmap(16, 16).toImage());
    EXPECT_NE(small, QIcon(QStringLiteral(":/icons/kestrano.svg")).pixmap(16, 16).toImage());
}

} // namespace
} // namespace kestrano::test
