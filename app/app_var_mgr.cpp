#include "app/app_var_mgr.h"

#include <QCoreApplication>

#include "platform/ini_file.h"

namespace vandrel {

namespace {
const QString kSection = QStringLiteral("startup");

// "True"/"False" in any case; numbers are accepted, 0 meaning false. Anything else: none.
std::optional<bool> ParseBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok) return v != 0.0;
    return std::nullopt;
}

std::optional<qint32> ParseInt(const QString& text) {
    bool ok = false;
    const qint32 v = text.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(v) : std::nullopt;
}
}  // namespace

// One declaration per persisted option: key, field and default. Reading, writing and the
// key order of the file all come from this table.
struct AppVarMgr::OptionDecl {
    const char* key;
    bool AppVarMgr::*boolField;   // set for a boolean option
    qint32 AppVarMgr::*intField;  // set for an integer option
    qint32 intDefault;
};

const AppVarMgr::OptionDecl* AppVarMgr::optionTable(int* count) {
    static const OptionDecl table[] = {
        {"StartWin", &AppVarMgr::startWithWindows_, nullptr, 0},
        {"settingShow", &AppVarMgr::settingWinShow_, nullptr, 0},
        {"basketShow", &AppVarMgr::basketShow_, nullptr, 0},
        {"basketTop", nullptr, &AppVarMgr::basketTop_, kDefaultBasketTop},
        {"basketLeft", nullptr, &AppVarMgr::basketLeft_, kDefaultBasketLeft},
    };
    *count = static_cast<int>(std::size(table));
    return table;
}

QStringList AppVarMgr::optionKeys() {
    int n = 0;
    const OptionDecl* t = optionTable(&n);
    QStringList keys;
    for (int i = 0; i < n; ++i) keys << QString::fromLatin1(t[i].key);
    return keys;
}

AppVarMgr::AppVarMgr(const QString& optionsPath, Autostart autostart, const QString& program,
                     QObject* parent)
    : QObject(parent),
      optionsPath_(optionsPath),
      autostart_(std::move(autostart)),
      program_(program) {
    LoadOptions();
}

void AppVarMgr::LoadOptions() {
    // A damaged file has been kept aside by the reader; the defaults then apply.
    const IniFile ini = optionsPath_.isEmpty() ? IniFile() : IniFile::Load(optionsPath_).file;
    int n = 0;
    const OptionDecl* t = optionTable(&n);
    for (int i = 0; i < n; ++i) {
        const std::optional<QString> text = ini.value(kSection, QString::fromLatin1(t[i].key));
        if (t[i].boolField) {
            this->*t[i].boolField = text ? ParseBool(*text).value_or(false) : false;
        } else {
            this->*t[i].intField =
                text ? ParseInt(*text).value_or(t[i].intDefault) : t[i].intDefault;
        }
    }
}

void AppVarMgr::releaseSaves() {
    if (holds_ > 0 && --holds_ == 0 && savePending_) SaveOptions();
}

void AppVarMgr::SaveOptions() {
    if (optionsPath_.isEmpty()) return;  // state kept in memory only
    savePending_ = holds_ > 0;
    if (savePending_) return;
    // Other sections and unknown keys of the file are kept; the five keys are always
    // written first in their fixed order. Read-modify-write under the data folder's
    // state lock, so what another program wrote into the file meanwhile stays.
    lastSaveOk_ = UpdateIniFile(optionsPath_, [this](IniFile& ini) {
        int n = 0;
        const OptionDecl* t = optionTable(&n);
        for (int i = 0; i < n; ++i) {
            const QString key = QString::fromLatin1(t[i].key);
            if (t[i].boolField)
                ini.setValue(
                    kSection, key,
                    this->*t[i].boolField ? QStringLiteral("True") : QStringLiteral("False"));
            else
                ini.setValue(kSection, key, QString::number(this->*t[i].intField));
        }
        ini.orderKeys(kSection, optionKeys());
    });
    if (!lastSaveOk_) emit optionsSaveFailed(optionsPath_);
}

void AppVarMgr::setStartWithWindows(bool v) {
    startWithWindows_ = v;
    SaveOptions();
    // Like the rest of the start-up setting, a failure here is not reported: the option
    // stays as chosen and is applied again the next time it is set.
    if (v) {
        const QString program =
            program_.isEmpty() ? QCoreApplication::applicationFilePath() : program_;
        (void)autostart_.Install(program, startArguments_);
    } else {
        (void)autostart_.Remove();
    }
}

void AppVarMgr::setBasketShow(bool v) {
    basketShow_ = v;
    SaveOptions();
    emit basketShowChanged(v);
}

void AppVarMgr::setSettingWinShow(bool v) {
    if (v && autoTaskRunning_) {
        settingWinShow_ = false;
        SaveOptions();
        emit settingWinShowRefused();
        return;
    }
    settingWinShow_ = v;
    SaveOptions();
    emit settingWinShowChanged(v);
}

void AppVarMgr::setAutoTaskRunning(bool v) {
    autoTaskRunning_ = v;
    emit autoTaskRunningChanged(v);
}

void AppVarMgr::setBasketLeft(qint32 v) {
    basketLeft_ = v;
    SaveOptions();
}

void AppVarMgr::setBasketTop(qint32 v) {
    basketTop_ = v;
    SaveOptions();
}

}  // namespace vandrel
