// The information tab of the settings window: the program's name and version ("Version
// Info:" followed by major.minor.revision) and the help and home page buttons.
#pragma once

#include <QUrl>
#include <QWidget>

namespace vandrel {

// Where the help documents and the home page are (opened in the browser).
inline constexpr char kHelpUrl[] = "https://vandrel.org/help/";
inline constexpr char kHomePageUrl[] = "https://vandrel.org/";

class InfoTab : public QWidget {
    Q_OBJECT

  public:
    // version: "major.minor.revision".
    explicit InfoTab(const QString& version, QWidget* parent = nullptr);

  signals:
    // A button asks the shell to open this address.
    void openUrl(const QUrl& url);
};

}  // namespace vandrel
