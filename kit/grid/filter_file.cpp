#include "kit/grid/filter_file.h"

#include "kit/dataset/file_io.h"

#include <QFile>

#include <array>

namespace kit {

// The filter file format, version 1. UTF-8 text, one item per line; lines end with LF (a CR
// before it is ignored); leading blanks only show the nesting and are ignored; empty lines and
// lines starting with "#" are comments.
//
//   velistra-filter 1                 first line: the format and its version
//   group <and|or|notand|notor>       opens a group; the first one is the root
//   condition <operator> <column>     a condition on the column of that name (the rest of the
//                                     line, escaped as values are)
//   value <text>                      one value of the condition above, in order; the text is
//                                     the rest of the line after one blank, with "\\", "\n",
//                                     "\r" and "\t" standing for a backslash, LF, CR and TAB
//   end                               closes the innermost group
//
// Operators: equal notequal less lessequal greater greaterequal between notbetween in notin
// like notlike beginswith notbeginswith endswith notendswith contains notcontains blank
// notblank yesterday today tomorrow lastweek lastmonth lastyear thisweek thismonth thisyear
// nextweek nextmonth nextyear. A condition carries exactly the number of values its operator
// takes (a list at least one). Nothing but comments may follow the root's "end".
//
// Example:
//   velistra-filter 1
//   group and
//     condition beginswith ditta
//     value ROSSI
//     group or
//       condition equal provincia
//       value MI
//       condition blank localita
//     end
//   end

namespace {

constexpr const char *kMagic = "velistra-filter";
constexpr int kVersion = 1;

// Keywords in the order of FilterOperator; they are the format, independent of that order.
constexpr std::array<const char *, 32> kOperatorWords = {
    "equal",      "notequal",      "less",      "lessequal",   "greater",  "greaterequal",
    "between",    "notbetween",    "in",        "notin",       "like",     "notlike",
    "beginswith", "notbeginswith", "endswith",  "notendswith", "contains", "notcontains",
    "blank",      "notblank",      "yesterday", "today",       "tomorrow", "lastweek",
    "lastmonth",  "lastyear",      "thisweek",  "thismonth",   "thisyear", "nextweek",
    "nextmonth",  "nextyear"};

constexpr std::array<const char *, 4> kGroupWords = {"and", "or", "notand", "notor"};

QByteArray escape(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescape(QByteArrayView text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\') {
            if (++i >= text.size())
                throw FilterFileError();
            switch (text[i]) {
            case '\\':
                c = '\\';
                break;
            case 'n':
                c = '\n';
                break;
            case 'r':
                c = '\r';
                break;
            case 't':
                c = '\t';
                break;
            default:
                throw FilterFileError();
            }
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

void writeNode(QByteArray &out, const FilterNode &node, const std::vector<FilterColumn> &columns,
               int depth)
{
    const QByteArray indent(depth * 2, ' ');
    if (node.isGroup()) {
        out += indent + "group " + kGroupWords[static_cast<int>(node.groupOperator)] + '\n';
        for (const FilterNode &child : node.children)
            writeNode(out, child, columns, depth + 1);
        out += indent + "end\n";
        return;
    }
    if (node.column < 0 || node.column >= static_cast<int>(columns.size()))
        return;
    out += indent + "condition " + kOperatorWords[static_cast<int>(node.op)] + ' ' +
           escape(columns[node.column].name) + '\n';
    for (const QString &value : node.values)
        out += indent + "value " + escape(value) + '\n';
}

class Reader {
public:
    Reader(QByteArrayView text, const std::vector<FilterColumn> &columns)
        : text_(text)
        , columns_(columns)
    {}

    FilterNode read()
    {
        QByteArrayView line;
        if (!nextLine(line) ||
            line != QByteArrayView(QByteArray(kMagic) + ' ' + QByteArray::number(kVersion)))
            throw FilterFileError();
        if (!nextLine(line) || !line.startsWith("group "))
            throw FilterFileError();
        FilterNode root = readGroup(line);
        if (nextLine(line))
            throw FilterFileError();  // something after the root
        return root;
    }

private:
    // The next line that is not a comment, without its leading blanks and line end.
    bool nextLine(QByteArrayView &line)
    {
        while (at_ < text_.size()) {
            qsizetype end = text_.indexOf('\n', at_);
            if (end < 0)
                end = text_.size();
            line = text_.sliced(at_, end - at_);
            at_ = end + 1;
            if (line.endsWith('\r'))
                line.chop(1);
            while (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t'))
                line = line.sliced(1);
            if (!line.isEmpty() && line.front() != '#')
                return true;
        }
        return false;
    }

    static int wordIndex(QByteArrayView word, const char *const *words, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            if (word == QByteArrayView(words[i]))
                return static_cast<int>(i);
        throw FilterFileError();
    }

    int columnIndex(const QString &name) const
    {
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        throw FilterFileError();
    }

    // `line` is the group's opening line; reads up to and including its "end".
    FilterNode readGroup(QByteArrayView line)
    {
        const int op = wordIndex(line.sliced(6), kGroupWords.data(), kGroupWords.size());
        FilterNode group = FilterNode::group(static_cast<FilterGroupOperator>(op));
        FilterNode *condition = nullptr;
        while (nextLine(line)) {
            if (line == "end") {
                checkValues(condition);
                return group;
            }
            if (line.startsWith("value ")) {
                if (!condition)
                    throw FilterFileError();
                condition->values << unescape(line.sliced(6));
                continue;
            }
            checkValues(condition);
            condition = nullptr;
            if (line.startsWith("group ")) {
                group.children.push_back(readGroup(line));
            } else if (line.startsWith("condition ")) {
                const QByteArrayView rest = line.sliced(10);
                const qsizetype blank = rest.indexOf(' ');
                if (blank <= 0)
                    throw FilterFileError();
                const int op =
                    wordIndex(rest.first(blank), kOperatorWords.data(), kOperatorWords.size());
                const int column = columnIndex(unescape(rest.sliced(blank + 1)));
                group.children.push_back(
                    FilterNode::condition(column, static_cast<FilterOperator>(op)));
                condition = &group.children.back();
            } else {
                throw FilterFileError();
            }
        }
        throw FilterFileError();  // the group was never closed
    }

    static void checkValues(const FilterNode *condition)
    {
        if (!condition)
            return;
        const int arity = filterOperatorArity(condition->op);
        const qsizetype count = condition->values.size();
        if (arity < 0 ? count < 1 : count != arity)
            throw FilterFileError();
    }

    QByteArrayView text_;
    const std::vector<FilterColumn> &columns_;
    qsizetype at_ = 0;
};

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

FilterFileError::FilterFileError()
    : std::runtime_error(gridText("Can't build filter from source").toStdString())
{}

QByteArray writeFilterText(const FilterNode &root, const std::vector<FilterColumn> &columns)
{
    QByteArray out = QByteArray(kMagic) + ' ' + QByteArray::number(kVersion) + '\n';
    if (root.isGroup()) {
        writeNode(out, root, columns, 0);
    } else {
        out += "group and\n";
        writeNode(out, root, columns, 1);
        out += "end\n";
    }
    return out;
}

FilterNode readFilterText(QByteArrayView text, const std::vector<FilterColumn> &columns)
{
    return Reader(text, columns).read();
}

void saveFilterFile(const QString &path, const FilterNode &root,
                    const std::vector<FilterColumn> &columns)
{
    const QByteArray text = writeFilterText(root, columns);
    WriteFileSafely(localPath(path), std::string_view(text.constData(), text.size()));
}

FilterNode loadFilterFile(const QString &path, const std::vector<FilterColumn> &columns)
{
    const FileBuffer buffer = ReadWholeFile(localPath(path));
    return readFilterText(QByteArrayView(buffer.data.get(), static_cast<qsizetype>(buffer.size)),
                          columns);
}

}  // namespace kit
