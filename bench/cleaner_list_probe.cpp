// Fills the System Junk list with N rows and scrolls it end to end, timing each step
// up to the frame that shows it. Prints milliseconds and resident memory.
#include "gui/tools/ItemLists.h"
#include "gui/tools/systemjunk/SystemJunkModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>

#include <cstdio>
#include <fstream>
#include <string>

using namespace tidvale;
using namespace tidvale::gui;

static long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::stoi(argv[1]) : 100000;
    std::vector<ScanItem> items;
    items.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        items.push_back({"com.example.cache." + std::to_string(i),
            "/Users/me/Library/Caches/com.example.cache." + std::to_string(i),
            int64_t(rows - i) * 4096,
            i % 7 == 0 ? ScanCategory::systemCache : ScanCategory::userCache, true, i % 7 == 0});
    SystemJunkModel model;
    QTableView* view = makeTableList(&model, {44, {30, 220, 140, 90}, SystemJunkModel::name});
    view->resize(680, 480);
    view->show();
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    model.setItems(std::move(items));
    view->viewport()->repaint();
    const qint64 fill = t.restart();
    view->scrollToBottom();
    view->viewport()->repaint();
    const qint64 toEnd = t.restart();
    QScrollBar* bar = view->verticalScrollBar();
    for (int step = 0; step < 100; ++step) {
        bar->setValue(bar->maximum() * step / 100);
        view->viewport()->repaint();
    }
    const qint64 hundredScrolls = t.elapsed();
    std::printf("rows %d  fill+paint %lld ms  jump to end %lld ms  100 scroll steps %lld ms  "
                "RSS %ld KiB\n",
        rows, fill, toEnd, hundredScrolls, residentKiB());
    return 0;
}
