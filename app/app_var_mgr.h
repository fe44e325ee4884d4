// The application state: which windows are shown, where the basket sits, whether Vandrel
// starts at log-on, and the run flags that keep automatic runs, manual runs, basket
// drops and rule creation apart. Five values persist in options.ini (section "startup"),
// rewritten atomically on every change. Window side effects of the setters are signals
// the desktop program connects to. Use from the user-interface thread only.
#pragma once

#include <QObject>
#include <QString>

#include "folders/task_run_flags.h"
#include "platform/autostart.h"

namespace vandrel {

// Where the basket goes when options.ini does not say (twips; on screen everywhere).
inline constexpr qint32 kDefaultBasketLeft = 1500;
inline constexpr qint32 kDefaultBasketTop = 1500;

class AppVarMgr : public QObject, public TaskRunFlags {
    Q_OBJECT

  public:
    // Reads optionsPath (a missing or damaged file, a missing key or a value that does not
    // parse gives false and the default basket position; an empty path keeps the state in
    // memory only, for the headless scheduler). autostart: where the log-on
    // entry goes; program: what it starts (empty: this program).
    explicit AppVarMgr(const QString& optionsPath, Autostart autostart = Autostart(),
                       const QString& program = QString(), QObject* parent = nullptr);

    // While saves are held, a change only marks the file as behind; releasing writes it
    // once. The desktop program holds them while its windows come up, so that a first
    // start does not wait on the disk for every value it sets.
    void holdSaves() { ++holds_; }
    void releaseSaves();

    // Arguments the log-on entry starts the program with (the data folder, when it is not
    // the default one); takes effect the next time the entry is written.
    void setStartArguments(const QStringList& arguments) { startArguments_ = arguments; }

    // The options keys in the order they are written.
    static QStringList optionKeys();
    const QString& optionsPath() const { return optionsPath_; }

    bool startWithWindows() const { return startWithWindows_; }
    // Stores, saves, and installs or removes (to the trash) the autostart entry.
    void setStartWithWindows(bool v);

    bool basketShow() const { return basketShow_; }
    // Stores and saves; basketShowChanged tells the view to hide the basket or place it
    // at (basketLeft, basketTop).
    void setBasketShow(bool v);

    bool settingWinShow() const override { return settingWinShow_; }
    // Stores and saves. Showing is refused during an automatic batch: the value stays
    // false (in memory and in the file) and settingWinShowRefused is raised.
    void setSettingWinShow(bool v);

    bool autoTaskRunning() const override { return autoTaskRunning_; }
    // Not saved; autoTaskRunningChanged lets the tray disable its items.
    void setAutoTaskRunning(bool v) override;

    bool dropTaskRunning() const override { return dropTaskRunning_; }
    void setDropTaskRunning(bool v) { dropTaskRunning_ = v; }

    bool creatingNewRule() const override { return creatingNewRule_; }
    void setCreatingNewRule(bool v) { creatingNewRule_ = v; }

    qint32 basketLeft() const { return basketLeft_; }
    void setBasketLeft(qint32 v);

    qint32 basketTop() const { return basketTop_; }
    void setBasketTop(qint32 v);

    bool handTaskRunning() const override { return handTaskRunning_; }
    void setHandTaskRunning(bool v) override { handTaskRunning_ = v; }

    // True when the last save reached the disk.
    bool lastSaveOk() const { return lastSaveOk_; }

  signals:
    void basketShowChanged(bool shown);
    void settingWinShowChanged(bool shown);
    void settingWinShowRefused();
    void autoTaskRunningChanged(bool running);
    // options.ini could not be written (the old file stays).
    void optionsSaveFailed(const QString& path);

  private:
    struct OptionDecl;
    static const OptionDecl* optionTable(int* count);
    void LoadOptions();
    void SaveOptions();

    QString optionsPath_;
    Autostart autostart_;
    QString program_;
    QStringList startArguments_;
    bool startWithWindows_ = false;
    bool basketShow_ = false;
    bool settingWinShow_ = false;
    bool autoTaskRunning_ = false;
    bool dropTaskRunning_ = false;
    bool creatingNewRule_ = false;
    qint32 basketLeft_ = kDefaultBasketLeft;
    qint32 basketTop_ = kDefaultBasketTop;
    bool handTaskRunning_ = false;
    bool lastSaveOk_ = true;
    int holds_ = 0;
    bool savePending_ = false;
};

}  // namespace vandrel
