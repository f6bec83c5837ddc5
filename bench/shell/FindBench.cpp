// Finding and filtering text in a log window of 100,000 kept messages (KeepLines 100000): the time
// each keystroke in the find bar and in the text filter takes until the window has answered, and a
// step with F3. Runs the real program in a temporary home (offscreen unless a display is given).
#include "core/settings/MonitorSettings.h"
#include "core/view/ChildView.h"
#include "platform/qt/AlertSound.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/app/Kestrano.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/support/TestHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace kestrano;

namespace {

constexpr int32_t Messages = 100000;

class SilentSound : public AlertSound {
public:
    void play() override { }
};

void writeLog(const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const char* const words[] = {"received", "packed", "shipped", "refunded", "delayed"};
    for (int i = 0; i < Messages; ++i) {
        char line[160];
        const int n = std::snprintf(line, sizeof line,
            "2026-12-07 12:%02d:%02d %s worker-%d: order %d %s after %d ms\n", i / 60 % 60, i % 60,
            i % 10 == 0 ? "warn" : "info", i % 8, 10000 + i % 5000, words[i % 5], i % 997);
        out.write(line, n);
    }
}

// Processor time of this thread, which runs the whole window, in milliseconds.
double threadMilliseconds()
{
    rusage usage {};
    getrusage(RUSAGE_THREAD, &usage);
    auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Keystroke {
    double wall; // until the window has answered, other load on the machine included
    double processor;
};

// Sends one key press and release as the keyboard would and waits until the window has answered.
Keystroke keystroke(QWidget& target, Qt::Key key, const QString& text)
{
    const auto start = std::chrono::steady_clock::now();
    const double processorStart = threadMilliseconds();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&target, &press);
    QCoreApplication::sendEvent(&target, &release);
    QCoreApplication::processEvents();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
        threadMilliseconds() - processorStart};
}

// Types the text key by key; the time of each keystroke.
std::vector<Keystroke> typeKeys(QWidget& target, const std::string& text)
{
    std::vector<Keystroke> times;
    for (char c : text) {
        const QString key(QChar::fromLatin1(c));
        times.push_back(keystroke(target, static_cast<Qt::Key>(key.toUpper().at(0).unicode()), key));
    }
    return times;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double slowest(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// Prints the median and slowest keystroke, wall and processor time; the slowest processor time.
double report(const char* what, const std::vector<Keystroke>& times)
{
    std::vector<double> wall, processor;
    for (const Keystroke& time : times) {
        wall.push_back(time.wall);
        processor.push_back(time.processor);
    }
    std::printf("%-42s %2zu keys: wall median %5.1f ms, slowest %5.1f ms; processor median %5.1f ms, "
                "slowest %5.1f ms\n",
        what, times.size(), median(wall), slowest(wall), median(processor), slowest(processor));
    return slowest(processor);
}

void clear(QLineEdit& field)
{
    field.clear();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    kestrano::test::TestHome home;
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const std::string path = std::string(home.folder().path()) + "/orders.log";
    writeLog(path);

    Kestrano program(std::make_unique<SilentSound>());
    program.GetSettings().SetKeepLines(Messages);
    program.GetSettings().SetInitiallyReadBytes(-1);
    program.InitInstance({});
    ChildFrame* frame = program.OpenDocumentFile(path.c_str());
    frame->list().model().flush();
    QCoreApplication::processEvents();
    std::printf("log window with %d kept messages, %d rows\n", frame->view().getMessages().GetCount(),
        frame->list().rowCount());

    double worst = 0;
    program.GetMainFrame()->dispatch(Command::Find, frame);
    QLineEdit& find = frame->findBar().patternField();
    worst = std::max(
        worst, report("find, plain text \"Order 10443 refunded\"", typeKeys(find, "Order 10443 refunded")));
    std::printf("  found: %s\n", frame->findBar().countLabel().text().toLocal8Bit().constData());
    std::vector<Keystroke> steps;
    for (int i = 0; i < 20; ++i)
        steps.push_back(keystroke(find, Qt::Key_F3, QString()));
    worst = std::max(worst, report("find next (F3)", steps));
    clear(find);
    worst = std::max(worst, report("find, plain text without a match", typeKeys(find, "no such order")));
    clear(find);
    worst = std::max(
        worst, report("find, plain text beyond ASCII \"\u00e4\"", typeKeys(find, "order 10443 \xe4")));
    clear(find);
    frame->findBar().regexBox().setChecked(true);
    worst = std::max(
        worst, report("find, expression \"order 1044[0-9] r\\w+\"", typeKeys(find, "order 1044[0-9] r\\w+")));
    std::printf("  found: %s\n", frame->findBar().countLabel().text().toLocal8Bit().constData());
    clear(find);
    keystroke(find, Qt::Key_Escape, QString());

    program.GetMainFrame()->dispatch(Command::FilterText, frame);
    QLineEdit& filter = frame->filterField();
    worst
        = std::max(worst, report("text filter, plain text \"order 10443\"", typeKeys(filter, "order 10443")));
    std::printf("  rows shown: %d\n", frame->list().rowCount());
    clear(filter);
    std::printf("find_keystroke_ms %.1f (slowest keystroke, processor time; limit 50 ms)\n", worst);
    return 0;
}
