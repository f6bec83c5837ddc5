// Peak memory for one line of 300 MB: one poll of a view that follows the file as it grows by the
// line, and kestrano-tail reading the whole file once. A message keeps at most
// Message::MaxTextBytes, an incomplete line no more, so neither should grow by much more than that.
#include "bench/SyntheticLog.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/LinuxFileSystem.h"
#include "tests/core/ViewDoubles.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace kestrano;

namespace {

constexpr int64_t LineBytes = 300LL * 1000 * 1000;

long maxResidentKilobytes(int who)
{
    struct rusage usage;
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

void appendLongLine(const std::string& path)
{
    FILE* out = std::fopen(path.c_str(), "ab");
    const std::string block(1 << 20, 'x');
    int64_t written = 0;
    while (written + static_cast<int64_t>(block.size()) <= LineBytes - 6) {
        std::fwrite(block.data(), 1, block.size(), out);
        written += static_cast<int64_t>(block.size());
    }
    std::fwrite(block.data(), 1, static_cast<size_t>(LineBytes - 6 - written), out);
    std::fputs("fatal\nafter\n", out);
    if (std::fclose(out) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

} // namespace

int main()
{
    const std::string folder = bench::makeBenchFolder();
    const std::string path = folder + "/long.log";
    bench::writeSyntheticLog(path, 1000);

    MonitorSettings settings;
    haspel::Config config;
    test::RecordingNotifier notifier;
    test::RecordingDetails details;
    test::ScriptedMessageBox boxes;
    test::RecordingList list;
    test::RecordingFrame frame;
    const ViewContext context {settings, config.GetRoot(), notifier, details};
    Document document(path.c_str(), systemFileSystem(), boxes);
    ChildView view(document, context, list, frame);
    view.rebuildList();

    appendLongLine(path);
    const long before = maxResidentKilobytes(RUSAGE_SELF);
    const double start = bench::processorSeconds(RUSAGE_SELF);
    view.pollLogFile();
    const double seconds = bench::processorSeconds(RUSAGE_SELF) - start;
    const Message* line = view.getMessages().GetTail()->GetPrevious();
    std::printf("long line: %.0f MB in one poll, %.2f processor s; message of severity %d keeps %d bytes, "
                "%lld cut\n",
        static_cast<double>(LineBytes) / 1e6, seconds, line->getSeverity(), line->getTextLength(),
        static_cast<long long>(line->getCutBytes()));
    std::printf("long line: peak memory of the poll grew by %ld KiB (bound %d KiB per message)\n",
        maxResidentKilobytes(RUSAGE_SELF) - before, Message::MaxTextBytes / 1024);

    const double tailSeconds
        = bench::commandTime("'" KESTRANO_TAIL_PROGRAM "' --once -c -1 '" + path + "' > /dev/null");
    std::printf("kestrano-tail --once -c -1 over the long line: %.2f processor s, peak memory %ld KiB\n",
        tailSeconds, maxResidentKilobytes(RUSAGE_CHILDREN));
    std::filesystem::remove_all(folder);
    return 0;
}
