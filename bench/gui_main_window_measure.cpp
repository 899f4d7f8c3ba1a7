// Measures the main window on a big archive (archive_bound_measure make writes
// one): opening and listing it, switching the type filter, a keystroke in the
// search field, sorting by a column, showing the Dump Map text, and the peak
// memory, against the core reading the same file.
//
//   gui_main_window_measure core PATH           reads it with the core alone
//   gui_main_window_measure gui PATH            opens it in the main window (offscreen)
//
// Each measuring run prints its times and its peak resident memory; run them as
// separate processes so that each peak is its own. bench/speed_goals.py runs it.
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "core/io/file.h"
#include "core/prompt/scripted_prompter.h"
#include "core/settings/settings_store.h"
#include "core/tags/directory_reader.h"
#include "core/tags/tag_directory.h"
#include "gui/app/browser_dialog.h"
#include "gui/app/object_list_model.h"
#include "gui/tags/dump_map_dialog.h"

namespace {

using namespace tagwarden;

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void report(const char* what, double time) { std::printf("%-34s %8.3f s\n", what, time); }

double mib(long kib) { return static_cast<double>(kib) / 1024.0; }

void reportMemory(long before)
{
    const long peak = peakKiB();
    std::printf("%-34s %8.1f MiB (%.1f MiB above the %.1f MiB at start)\n", "peak resident memory", mib(peak),
                mib(peak - before), mib(before));
}

int core(const std::string& path)
{
    const long before = peakKiB();
    TagDirectory directory;
    File file(path, File::Access::Read, File::Share::None);
    report("core: read and map", seconds([&] { (void)readDirectory(directory, file, nullptr); }));
    std::printf("%-34s %8zu\n", "entries", directory.entryCount());
    reportMemory(before);
    return 0;
}

int gui(int argc, char* argv[], const std::string& path)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    MemorySettingsStore settings;
    settings.writeString(settings::kSection, settings::kTagsDirectory, "/");
    settings.writeString(settings::kSection, settings::kBackupDirectory, "/Backup/");
    ScriptedPrompter prompter;
    BrowserDialog window(settings, prompter);
    window.show();
    QApplication::processEvents();
    auto* list = window.findChild<QTableView*>(QStringLiteral("object_list"));
    auto* search = window.findChild<QLineEdit*>(QStringLiteral("search_field"));
    auto* filter = window.findChild<QComboBox*>(QStringLiteral("type_filter"));
    const auto painted = [&] {
        list->viewport()->repaint();
        QApplication::processEvents();
    };

    const long before = peakKiB();
    prompter.queueFile(path);
    report("gui: open, read, list, paint", seconds([&] {
               window.onOpen();
               painted();
           }));
    std::printf("%-34s %8d\n", "lines listed", list->model()->rowCount());
    report("gui: scroll to the last line", seconds([&] {
               list->scrollToBottom();
               painted();
           }));
    report("gui: filter to one type", seconds([&] {
               filter->setCurrentIndex(1);
               painted();
           }));
    std::printf("%-34s %8d\n", "lines listed", list->model()->rowCount());
    report("gui: filter back to All", seconds([&] {
               filter->setCurrentIndex(0);
               painted();
           }));
    // A keystroke that widens the search walks every entry again, as the first one does.
    double slowest = 0;
    for (const char* text : {"b", "bz", "b", "", "q"}) {
        const double time = seconds([&] {
            search->setText(QString::fromLatin1(text));
            painted();
        });
        if (std::getenv("TAGWARDEN_MEASURE_EACH"))
            std::printf("  search \"%s\" %8.3f s\n", text, time);
        slowest = std::max(slowest, time);
    }
    report("gui: search keystroke (slowest)", slowest);
    std::printf("%-34s %8d\n", "lines listed", list->model()->rowCount());
    search->clear();
    report("gui: sort by the Name column", seconds([&] {
               list->sortByColumn(ObjectListModel::NameColumn, Qt::AscendingOrder);
               painted();
           }));
    report("gui: sort by the Length column", seconds([&] {
               list->sortByColumn(ObjectListModel::LengthColumn, Qt::DescendingOrder);
               painted();
           }));
    list->sortByColumn(ObjectListModel::IdColumn, Qt::AscendingOrder);
    report("gui: Dump Map of All shown", seconds([&] {
               DumpMapDialog dump(window.directory().dumpMapText(0), &window);
               dump.show();
               dump.repaint();
               QApplication::processEvents();
           }));
    reportMemory(before);
    prompter.queueFile(path);
    report("gui: open again (clear and reread)", seconds([&] {
               window.onOpen();
               painted();
           }));
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::string(argv[1]) == "core")
        return core(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "gui")
        return gui(argc, argv, argv[2]);
    std::fprintf(stderr, "usage: %s core PATH | gui PATH\n", argv[0]);
    return 2;
}
