// The gallery page of the desktop program's small windows, over sample files of their
// own: the basket idle, the basket with its quick-folder row open, the basket during a
// drag-over preview, the rule wizard and the countdown window.
#pragma once

#include <QTemporaryDir>
#include <QWidget>
#include <memory>

namespace vandrel {
class AppVarMgr;
class AutoTaskRunner;
class QuickFolderList;
class RuleList;
class WatchedFolderList;
}  // namespace vandrel

class DesktopWindowsPage : public QWidget {
    Q_OBJECT
  public:
    explicit DesktopWindowsPage(QWidget* parent = nullptr);
    ~DesktopWindowsPage() override;

  private:
    QTemporaryDir sandbox_;
    std::unique_ptr<vandrel::AppVarMgr> vars_;
    std::unique_ptr<vandrel::RuleList> rules_;
    std::unique_ptr<vandrel::QuickFolderList> quickIdle_;
    std::unique_ptr<vandrel::QuickFolderList> quickOpen_;
    std::unique_ptr<vandrel::QuickFolderList> quickPreview_;
    std::unique_ptr<vandrel::WatchedFolderList> folders_;
    std::unique_ptr<vandrel::AutoTaskRunner> runner_;
};
