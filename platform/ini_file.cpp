#include "platform/ini_file.h"

#include "platform/state_store.h"

namespace vandrel {

namespace {

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString Unquote(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) ||
                          (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

IniFile IniFile::Parse(const QString& text) {
    IniFile ini;
    Section* current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        if (t.startsWith(QLatin1Char('['))) {
            const qsizetype close = t.indexOf(QLatin1Char(']'));
            if (close < 0) continue;  // a damaged header: ignore the line
            const QString name = t.mid(1, close - 1).trimmed();
            current = ini.findSection(name);
            if (!current) {
                ini.sections_.push_back({name, {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = t.left(eq).trimmed();
        if (key.isEmpty()) continue;
        if (!current) {
            current = ini.findSection(QString());
            if (!current) {
                ini.sections_.push_back({QString(), {}});
                current = &ini.sections_.back();
            }
        }
        // A repeated key keeps its first value, like the platform reader this stands in
        // for; the later line is dropped on the next write.
        bool seen = false;
        for (const Entry& e : current->entries) seen = seen || SameName(e.key, key);
        if (!seen) current->entries.push_back({key, Unquote(t.mid(eq + 1))});
    }
    return ini;
}

IniLoadResult IniFile::Load(const QString& path) {
    IniLoadResult result{IniFile(), ReadStateText(path)};
    if (result.read.status == StateReadStatus::Ok) result.file = Parse(result.read.text);
    result.read.text.clear();
    return result;
}

IniFile::Section* IniFile::findSection(const QString& name) {
    for (Section& s : sections_)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    for (const Section& s : sections_)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    for (const Entry& e : s->entries)
        if (SameName(e.key, key)) return e.value;
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    Section* s = findSection(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    // A line break in a value would split it into a second line on reading.
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (Entry& e : s->entries) {
        if (SameName(e.key, key)) {
            e.value = v;
            return;
        }
    }
    s->entries.push_back({key, v});
}

void IniFile::removeKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s) return;
    std::erase_if(s->entries, [&key](const Entry& e) { return SameName(e.key, key); });
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries) out << e.key;
    return out;
}

void IniFile::orderKeys(const QString& section, const QStringList& order) {
    Section* s = findSection(section);
    if (!s) return;
    std::vector<Entry> ordered;
    ordered.reserve(s->entries.size());
    for (const QString& k : order) {
        for (const Entry& e : s->entries)
            if (SameName(e.key, k)) {
                ordered.push_back(e);
                break;
            }
    }
    for (const Entry& e : s->entries) {
        bool named = false;
        for (const QString& k : order) named = named || SameName(e.key, k);
        if (!named) ordered.push_back(e);
    }
    s->entries = std::move(ordered);
}

QString IniFile::toText() const {
    QString out;
    for (const Section& s : sections_) {
        if (!s.name.isEmpty() || &s != &sections_.front())
            out += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const Entry& e : s.entries)
            out += e.key + QLatin1Char('=') + e.value + QLatin1Char('\n');
    }
    return out;
}

bool IniFile::save(const QString& path) const { return WriteStateBytes(path, toText().toUtf8()); }

QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& fallback) {
    return IniFile::Load(path).file.value(section, key).value_or(fallback);
}

bool WriteProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value) {
    return UpdateIniFile(path, [&](IniFile& ini) { ini.setValue(section, key, value); });
}

bool UpdateIniFile(const QString& path, const std::function<void(IniFile&)>& change) {
    const StateStore store;
    const auto apply = [&change](QString& text) {
        IniFile ini = IniFile::Parse(text);
        change(ini);
        text = ini.toText();
        return true;
    };
    StateUpdateResult r = store.UpdateText(path, {}, apply);
    // The damaged file is safely aside: the settings start afresh beside it.
    if (r.status == StateUpdateStatus::Unreadable && !r.read.keptAsidePath.isEmpty())
        r = store.UpdateText(path, {}, apply);
    return r.ok();
}

}  // namespace vandrel
