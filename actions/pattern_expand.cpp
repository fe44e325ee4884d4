#include "actions/pattern_expand.h"

#include "actions/pattern.h"
#include "attributes/attribute_helper.h"
#include "platform/path_text.h"
#include "rules/rule_text.h"

namespace vandrel {

QString SafeNameValue(const QString& value) {
    if (value == QLatin1String(".") || value == QLatin1String("..")) return QStringLiteral("-");
    return SanitizeFileName(value);
}

QString ExpandPattern(const QString& pattern, const QString& path, AttributeHelper* attributes) {
    const QStringList parts = pattern.split(Pattern::GetSplitChr(), Qt::KeepEmptyParts);
    QString out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i % 2 == 0) {
            out += parts.at(i);
        } else if (attributes) {
            // A damaged file gives the placeholder (the readers never raise).
            out += SafeNameValue(attributes->GetAttrValue(parts.at(i), path));
        }
    }
    return out;
}

namespace {

// Word splitter whose state survives across pattern elements, so a quote opened before a
// token and closed after it groups the path with the text around it.
class WordSplitter {
  public:
    void feedLiteral(const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (escapeNext_) {
                escapeNext_ = false;
                append(c);
                continue;
            }
            switch (quote_) {
                case Quote::Single:
                    if (c == QLatin1Char('\''))
                        quote_ = Quote::None;
                    else
                        append(c);
                    break;
                case Quote::Double:
                    if (c == QLatin1Char('"')) {
                        quote_ = Quote::None;
                    } else if (c == QLatin1Char('\\') && i + 1 < text.size() &&
                               QStringLiteral("\"\\$`").contains(text.at(i + 1))) {
                        append(text.at(++i));
                    } else {
                        append(c);
                    }
                    break;
                case Quote::None:
                    if (c == QLatin1Char('\'')) {
                        quote_ = Quote::Single;
                        started_ = true;
                    } else if (c == QLatin1Char('"')) {
                        quote_ = Quote::Double;
                        started_ = true;
                    } else if (c == QLatin1Char('\\')) {
                        // A backslash at the very end of a literal escapes nothing typed;
                        // keep it as a plain character.
                        if (i + 1 < text.size())
                            escapeNext_ = true;
                        else
                            append(c);
                    } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') ||
                               c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
                        endWord();
                    } else {
                        append(c);
                    }
                    break;
            }
        }
    }
    void feedVerbatim(const QString& text) { append(text); }
    QStringList finish() {
        endWord();
        return words_;
    }

  private:
    enum class Quote { None, Single, Double };
    void append(QChar c) {
        word_ += c;
        started_ = true;
    }
    void append(const QString& s) {
        word_ += s;
        started_ = true;
    }
    void endWord() {
        if (started_) words_ << word_;
        word_.clear();
        started_ = false;
    }

    QStringList words_;
    QString word_;
    bool started_ = false;  // a word exists even when empty ("" gives one empty argument)
    bool escapeNext_ = false;
    Quote quote_ = Quote::None;
};

}  // namespace

QStringList SplitRunArguments(const QString& pattern, const QString& itemPath) {
    const QStringList parts = pattern.split(Pattern::GetSplitChr(), Qt::KeepEmptyParts);
    WordSplitter splitter;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i % 2 == 0)
            splitter.feedLiteral(parts.at(i));
        else if (parts.at(i) == QLatin1String("filepath"))
            splitter.feedVerbatim(itemPath);
    }
    return splitter.finish();
}

}  // namespace vandrel
