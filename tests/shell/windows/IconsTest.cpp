// The icons of the commands and of the program: the desktop theme's where it has them, the bundled ones
// legible on light and dark windows, and a program icon drawn for 16 pixels.
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
#include <QPalette>
#include <gtest/gtest.h>

#include <filesystem>

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

class PaletteScope {
public:
    explicit PaletteScope(const QPalette& palette) { QApplication::setPalette(palette); }
    ~PaletteScope() { QApplication::setPalette(saved); }

private:
    QPalette saved = QApplication::palette();
};

using IconsOfTheProgramTest = ShellTest;

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
        }
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
