#include "RtfReader.h"

#include <QStringDecoder>

namespace {

struct GroupState {
    bool bold = false;
    bool italic = false;
    bool right = false;
    int halfPoints = 24;
    int uc = 1;
    bool skip = false;
    int colour = 0;
    enum Destination { Body, Header, FirstFooter, Footer } destination = Body;
};

class Reader
{
public:
    explicit Reader(const QByteArray &rtf) : m_in(rtf) {}

    RtfDocumentView run()
    {
        if (!m_in.startsWith("{\\rtf1")) {
            m_doc.problem = QStringLiteral("no {\\rtf1 at the start");
            return m_doc;
        }
        QVector<GroupState> stack;
        GroupState state;
        int depth = 0;
        bool closedTop = false;
        while (m_pos < m_in.size()) {
            const char c = m_in.at(m_pos);
            if (closedTop && c != '\r' && c != '\n') {
                m_doc.problem = QStringLiteral("text after the closing brace");
                return m_doc;
            }
            if (c == '{') {
                stack.push_back(state);
                ++depth;
                ++m_pos;
            } else if (c == '}') {
                if (stack.isEmpty()) {
                    m_doc.problem = QStringLiteral("unbalanced }");
                    return m_doc;
                }
                state = stack.takeLast();
                --depth;
                ++m_pos;
                if (depth == 0)
                    closedTop = true;
            } else if (c == '\\') {
                controlWord(state);
            } else {
                ++m_pos;
                if (c == '\r' || c == '\n')
                    continue;
                text(state, QChar::fromLatin1(c));
            }
        }
        if (depth != 0 || !closedTop) {
            m_doc.problem = QStringLiteral("unbalanced {");
            return m_doc;
        }
        if (!m_cur.isEmpty())
            pushParagraph(state); // a last paragraph without \par
        m_doc.wellFormed = true;
        return m_doc;
    }

private:
    void controlWord(GroupState &state)
    {
        ++m_pos; // the backslash
        if (m_pos >= m_in.size())
            return;
        const char c = m_in.at(m_pos);
        if (!isalpha(uchar(c))) {
            ++m_pos;
            if (c == '\'') {
                const QByteArray hex = m_in.mid(m_pos, 2);
                m_pos += 2;
                const char byte = char(hex.toInt(nullptr, 16));
                QStringDecoder dec("windows-1251");
                const QString s = dec.decode(QByteArrayView(&byte, 1));
                text(state, s.isEmpty() ? QChar(u'?') : s.at(0));
            } else if (c == '*') {
                state.skip = true;
            } else if (c == '~') {
                text(state, QChar(0xA0));
            } else if (c == '\\' || c == '{' || c == '}') {
                text(state, QChar::fromLatin1(c));
            }
            return;
        }
        QByteArray word;
        while (m_pos < m_in.size() && isalpha(uchar(m_in.at(m_pos))))
            word += m_in.at(m_pos++);
        bool hasParam = false;
        QByteArray digits;
        if (m_pos < m_in.size() && (m_in.at(m_pos) == '-' || isdigit(uchar(m_in.at(m_pos))))) {
            hasParam = true;
            digits += m_in.at(m_pos++);
            while (m_pos < m_in.size() && isdigit(uchar(m_in.at(m_pos))))
                digits += m_in.at(m_pos++);
        }
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
            ++m_pos; // the delimiter belongs to the word
        const int param = hasParam ? digits.toInt() : 1;
        apply(state, word, param, hasParam);
    }

    void apply(GroupState &s, const QByteArray &w, int p, bool hasParam)
    {
        if (w == "fonttbl" || w == "colortbl" || w == "stylesheet" || w == "info") {
            s.skip = true;
            return;
        }
        if (s.skip)
            return;
        if (w == "header" || w == "headerf")
            s.destination = GroupState::Header;
        else if (w == "footerf")
            s.destination = GroupState::FirstFooter;
        else if (w == "footer")
            s.destination = GroupState::Footer;
        if (s.destination != GroupState::Body) {
            if (w == "u") {
                text(s, QChar(char16_t(p < 0 ? p + 65536 : p)));
                m_skipChars = s.uc;
                return;
            }
            marginal(s, w);
            m_skipChars = 0;
            return;
        }
        if (w == "ansicpg")
            m_doc.codePage = p;
        else if (w == "landscape")
            m_doc.landscape = true;
        else if (w == "lndscpsxn")
            m_doc.sectionLandscape = true;
        else if (w == "paperw")
            m_doc.paperWidth = p;
        else if (w == "paperh")
            m_doc.paperHeight = p;
        else if (w == "margl")
            m_doc.marginLeft = p;
        else if (w == "margr")
            m_doc.marginRight = p;
        else if (w == "plain") {
            s.bold = s.italic = false;
            s.halfPoints = 24;
            s.colour = 0;
        } else if (w == "cf")
            s.colour = p;
        else if (w == "b")
            s.bold = !hasParam || p != 0;
        else if (w == "i")
            s.italic = !hasParam || p != 0;
        else if (w == "fs")
            s.halfPoints = p;
        else if (w == "uc")
            s.uc = p;
        else if (w == "u") {
            text(s, QChar(char16_t(p < 0 ? p + 65536 : p)));
            m_skipChars = s.uc;
            return;
        } else if (w == "tab")
            text(s, QLatin1Char('\t'));
        else if (w == "line")
            text(s, QLatin1Char('\n'));
        else if (w == "pard") {
            m_inTable = false;
            s.right = false;
        } else if (w == "qr")
            s.right = true;
        else if (w == "intbl")
            m_inTable = true;
        else if (w == "par") {
            if (m_inTable)
                text(s, QLatin1Char('\n'));
            else
                pushParagraph(s);
        } else if (w == "trowd") {
            if (!m_tableOpen) {
                RtfTable t;
                t.paragraphsBefore = int(m_doc.paragraphs.size());
                m_doc.tables << t;
                m_tableOpen = true;
            }
            m_edges.clear();
            m_header = false;
            m_borders = 0;
            m_pendingBorder = false;
        } else if (w == "trhdr")
            m_header = true;
        else if (w == "cellx")
            m_edges << p;
        else if (w.startsWith("clbrdr"))
            m_pendingBorder = true;
        else if (w == "brdrs" && m_pendingBorder) {
            ++m_borders;
            m_pendingBorder = false;
        } else if (w == "cell") {
            m_row << run(s);
            m_cur.clear();
            m_hasFormat = false;
        } else if (w == "row") {
            if (m_doc.tables.isEmpty()) {
                m_doc.problem = QStringLiteral("\\row outside a table");
                return;
            }
            RtfTable &t = m_doc.tables.last();
            if (t.rows.isEmpty() && m_row.size() == 1 && m_header && m_borders == 0 && !t.captionRepeats) {
                t.caption = m_row.first();
                t.captionRepeats = true;
                m_row.clear();
                return;
            }
            t.rows << m_row;
            t.cellEdges << m_edges;
            t.headerRows << m_header;
            t.bordersPerRow << m_borders;
            m_row.clear();
        }
        m_skipChars = 0;
    }

    // The header and footers: their texts apart from the body's.
    void marginal(GroupState &s, const QByteArray &w)
    {
        QStringList &texts = s.destination == GroupState::Header        ? m_doc.headerTexts
                             : s.destination == GroupState::FirstFooter ? m_doc.firstFooterTexts
                                                                        : m_doc.footerTexts;
        if (w == "cell" || w == "par") {
            texts << m_cur;
            m_cur.clear();
            m_hasFormat = false;
        } else if (w == "row") {
            ++(s.destination == GroupState::FirstFooter ? m_doc.firstFooterRows : m_doc.footerRows);
        } else if (w == "line") {
            text(s, QLatin1Char('\n'));
        } else if (w == "plain") {
            s.bold = false;
        }
    }

    void text(const GroupState &s, QChar c)
    {
        if (s.skip)
            return;
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        if (!m_hasFormat) {
            m_format = s;
            m_hasFormat = true;
        }
        m_cur += c;
    }

    RtfRun run(const GroupState &s) const
    {
        const GroupState &f = m_hasFormat ? m_format : s;
        return RtfRun{m_cur, f.halfPoints / 2, f.bold, f.italic, f.right, f.colour};
    }

    void pushParagraph(const GroupState &s)
    {
        m_doc.paragraphs << run(s);
        m_cur.clear();
        m_hasFormat = false;
        m_tableOpen = false;
    }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    RtfDocumentView m_doc;
    QString m_cur;
    GroupState m_format;
    bool m_hasFormat = false;
    int m_skipChars = 0;
    bool m_inTable = false;
    bool m_tableOpen = false;
    QVector<RtfRun> m_row;
    QVector<int> m_edges;
    bool m_header = false;
    int m_borders = 0;
    bool m_pendingBorder = false;
};

} // namespace

RtfDocumentView readRtf(const QByteArray &rtf)
{
    return Reader(rtf).run();
}
