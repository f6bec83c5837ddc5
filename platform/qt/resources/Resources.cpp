#include "platform/qt/resources/Resources.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

#include <cstring>

static void initKestranoResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kestrano {

void initResources()
{
    static const bool done = (initKestranoResources(), true);
    (void)done;
}

QIcon resourceIcon(const char* name)
{
    initResources();
    return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(name));
}

QIcon programIcon()
{
    // One SVG per icon: the small picture joins as pixels, which win at their own size.
    QIcon icon = resourceIcon("kestrano.svg");
    icon.addPixmap(QIcon(QStringLiteral(":/icons/kestrano-16.svg")).pixmap(16, 16));
    return icon;
}

namespace {

// Bundled pictures and the names of the theme icons that do the same job, best first.
struct ThemeNames {
    const char* file;
    const char* names[2];
};

constexpr ThemeNames themeNames[] = {
    {"open.svg", {"document-open", nullptr}},
    {"cascade.svg", {"window-cascade", nullptr}},
    {"tile-horizontal.svg", {"view-split-top-bottom", nullptr}},
    {"tile-vertical.svg", {"view-split-left-right", nullptr}},
    {"clear.svg", {"edit-clear", nullptr}},
    {"clear-all.svg", {"edit-clear-all", nullptr}},
    {"delete.svg", {"edit-delete", nullptr}},
    {"delete-all.svg", {"edit-delete", nullptr}},
    {"options.svg", {"configure", "preferences-system"}},
    {"about.svg", {"help-about", nullptr}},
    {"reload.svg", {"view-refresh", nullptr}},
    {"follow.svg", {"go-bottom", nullptr}},
};

// The dark inks of the bundled pictures and the light ones that replace them on a dark window; a light
// fill drawn over with dark ink turns dark, so the light ink still stands out on it.
constexpr const char* darkInks[][2] = {
    {"#33414f", "#d3dce6"},
    {"#444444", "#dddddd"},
    {"#4a5566", "#c3ccd6"},
    {"#5b6573", "#bcc5cf"},
    {"#6b6b6b", "#c8c8c8"},
    {"#8a8a8a", "#b4b4b4"},
    {"#1d3f6e", "#9cc0f0"},
    {"#23303f", "#d3dce6"},
    {"#1a7f37", "#4cc46a"},
    {"#c9d0d8", "#4e5661"},
};

// The bundled picture with light inks, drawn at the sizes toolbars and menus use.
QIcon lightInkIcon(const char* name)
{
    QFile file(QStringLiteral(":/icons/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    for (const auto& ink : darkInks)
        svg.replace(ink[0], ink[1]);
    QSvgRenderer renderer(svg);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

bool darkPalette()
{
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QIcon commandIcon(const char* name)
{
    initResources();
    for (const ThemeNames& entry : themeNames) {
        if (std::strcmp(entry.file, name) != 0)
            continue;
        for (const char* themeName : entry.names) {
            if (themeName && QIcon::hasThemeIcon(QString::fromLatin1(themeName)))
                return QIcon::fromTheme(QString::fromLatin1(themeName));
        }
    }
    return darkPalette() ? lightInkIcon(name) : resourceIcon(name);
}

} // namespace kestrano
