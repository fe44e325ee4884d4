// bench_rules_paper: loads 100 and 1,000 realistic rules into a RulesPaper shown in a
// scrolling window (offscreen) and prints the time until the paper is laid out and
// painted, and the memory it took per rule (each size in a fresh process, the first
// panels' fonts and images loaded before). Targets: 100 rules within 150 ms, 1,000
// within 1.5 s, memory growing linearly.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollArea>
#include <QStringList>
#include <cstdio>

#include "rules/rule_list.h"
#include "rules/view/rules_paper.h"

namespace {

// Resident memory in KiB (Linux /proc).
long residentKiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : 0;
}

QString guid(int i) {
    return QStringLiteral("%1-1D2E-4F50-8A6B-7C8D9E0F1A2B")
        .arg(i, 8, 16, QLatin1Char('0'))
        .toUpper();
}

// A mix of the rules people keep: two or three conditions, one to three actions.
QString ruleText(int i) {
    switch (i % 3) {
        case 0:
            return QStringLiteral(
                       "Photos %1<|RU|>All<|RU|>Extension<|CP|>is included in<|CD|>jpg,png<|CP|>"
                       "Date Last Modified<|CP|>is in the last<|CD|>2<|CD|>Week<|CD|>2026-12-01"
                       "<|RU|>Move to<|AP|>/home/ana/Pictures<|AC|>1<|AC|><//>date.modified<//>"
                       "<|AC|>1<|RU|>")
                       .arg(i) +
                   guid(i);
        case 1:
            return QStringLiteral(
                       "Invoices %1<|RU|>Any<|RU|>Name<|CP|>contains<|CD|>invoice<|CP|>Size<|CP|>"
                       "is less than<|CD|>MB<|CD|>5<|CP|>In Folder<|CP|>/home/ana/Downloads<|CD|>"
                       "forinfolder<|RU|>Rename<|AP|>inv-<//>date.created<//>.<//>extension<//>"
                       "<|AC|>1<|AP|>Copy to<|AP|>/home/ana/Invoices<|AC|>0<|AC|><//>date.current"
                       "<//><|AC|>1<|AP|>Add Path to<|AP|>/home/ana/invoices.txt<|RU|>")
                       .arg(i) +
                   guid(i);
        default:
            return QStringLiteral(
                       "Music %1<|RU|>All<|RU|>Kind<|CP|>Music<|CD|>forkind<|CP|>Other Attribute"
                       "<|CP|>mp3.artist<|CD|>contains<|CD|>Quartet<|RU|>Move to<|AP|>/home/ana/"
                       "Music<|AC|>1<|AC|><//>mp3.artist<//><|AC|>1<|AP|>Open<|AP|>1<|RU|>")
                       .arg(i) +
                   guid(i);
    }
}

void run(int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i) texts << ruleText(i);
    const QString listText = texts.join(QStringLiteral("<|RP|>"));
    vandrel::RuleList list{vandrel::EngineContext{}};
    QScrollArea area;
    area.resize(520, 700);
    area.show();
    QApplication::processEvents();
    const long before = residentKiB();
    QElapsedTimer timer;
    timer.start();
    auto* paper = new vandrel::RulesPaper(list);
    paper->LoadFromString(listText);
    area.setWidget(paper);
    // Laid out and painted: the panels in view exist and no layout work is pending.
    QApplication::processEvents();
    QApplication::processEvents();
    area.viewport()->repaint();
    const qint64 ms = timer.elapsed();
    const long after = residentKiB();
    std::printf(
        "%5d rules: laid out in %4lld ms (target %lld ms), %d panels built, "
        "%.1f KiB per rule\n",
        count, static_cast<long long>(ms), count <= 100 ? 150LL : 1500LL,
        paper->createdPanelCount(), static_cast<double>(after - before) / count);
    if (paper->SaveToString() != listText)
        std::printf("  the paper does not save what it loaded\n");
    if (count > 1000) return;
    // For comparison: every panel built, as scrolling through the whole list leaves it.
    timer.restart();
    for (int i = 0; i < count; ++i) paper->panel(i);
    QApplication::processEvents();
    std::printf("       all %d panels built in %4lld ms more, %.1f KiB per rule in all\n", count,
                static_cast<long long>(timer.elapsed()),
                static_cast<double>(residentKiB() - before) / count);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1) {
        // One size per process, so memory freed by an earlier run cannot hide growth.
        {
            vandrel::RuleList warm{vandrel::EngineContext{}};
            warm.LoadFromString(ruleText(0));
            vandrel::RulesPaper paper(warm);  // loads fonts, styles and control images
            paper.show();
            QApplication::processEvents();
        }
        run(QString::fromLocal8Bit(argv[1]).toInt());
        return 0;
    }
    for (const char* count : {"100", "1000", "3000"})
        QProcess::execute(QCoreApplication::applicationFilePath(), {QString::fromLatin1(count)});
    return 0;
}
