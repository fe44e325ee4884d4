// The gallery page of the settings window's pieces: the folders tab with three watched
// folders (the first expanded), a row of quick folders, and the confirmation sheet with
// ten rows, over sample files in a temporary folder of their own.
#pragma once

#include <QTemporaryDir>
#include <QWidget>
#include <memory>

namespace vandrel {
class QuickFolderList;
class RuleList;
class WatchedFolderList;
}  // namespace vandrel

class SettingsPiecesPage : public QWidget {
    Q_OBJECT
  public:
    explicit SettingsPiecesPage(QWidget* parent = nullptr);
    ~SettingsPiecesPage() override;

  private:
    QTemporaryDir sandbox_;
    std::unique_ptr<vandrel::RuleList> rules_;
    std::unique_ptr<vandrel::WatchedFolderList> folders_;
    std::unique_ptr<vandrel::QuickFolderList> quick_;
};
