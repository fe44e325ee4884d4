#include "app/view/info_tab.h"

#include <QLabel>

#include "aqua_button.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

InfoTab::InfoTab(const QString& version, QWidget* parent) : QWidget(parent) {
    setFixedSize(twipsToPixels(7200), twipsToPixels(7600));
    auto* name = new QLabel(QStringLiteral("Vandrel"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    name->setFont(big);
    name->setStyleSheet(QStringLiteral("color: rgb(40, 70, 140);"));
    name->setGeometry(twipsToPixels(300), twipsToPixels(300), twipsToPixels(6000),
                      twipsToPixels(700));
    auto* about = new QLabel(
        QStringLiteral("Sorts the files and folders you drop on the basket, and the contents of "
                       "the folders you watch, by your own rules. Every action is logged, "
                       "and nothing is ever overwritten."),
        this);
    about->setWordWrap(true);
    about->setGeometry(twipsToPixels(300), twipsToPixels(1100), twipsToPixels(6300),
                       twipsToPixels(900));
    auto* lblVersion = new QLabel(QStringLiteral("Version Info:") + version, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(twipsToPixels(300), twipsToPixels(2200), twipsToPixels(6000),
                            twipsToPixels(300));

    auto* btnHelp = new vitreon::AquaButton(this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setCaption(QStringLiteral("Help Documents"));
    btnHelp->resize(btnHelp->sizeHint());
    btnHelp->move(twipsToPixels(300), twipsToPixels(2800));
    auto* btnHomePage = new vitreon::AquaButton(this);
    btnHomePage->setObjectName(QStringLiteral("btnHomePage"));
    btnHomePage->setCaption(QStringLiteral("Home Page"));
    btnHomePage->resize(btnHomePage->sizeHint());
    btnHomePage->move(btnHelp->geometry().right() + twipsToPixels(150), twipsToPixels(2800));
    connect(btnHelp, &vitreon::AquaButton::Click, this,
            [this] { emit openUrl(QUrl(QLatin1String(kHelpUrl))); });
    connect(btnHomePage, &vitreon::AquaButton::Click, this,
            [this] { emit openUrl(QUrl(QLatin1String(kHomePageUrl))); });
}

}  // namespace vandrel
