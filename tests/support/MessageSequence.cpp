#include "tests/support/MessageSequence.h"

#include <stdio.h>

#include <algorithm>

namespace {

// Small values read best as numbers, pointers and packed points in hex.
std::string Value(LONG_PTR value)
{
    char text[32];
    if (value >= -0xFFFF && value <= 0xFFFF)
        snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    else
        snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// One row of the report: an expected message, an actual one, or both.
struct Row {
    const MessageRecord* expected;
    const MessageRecord* actual;
};

// Lines the two sequences up along their longest common run, so that one
// message missing or added shows as one line, not as every line after it.
std::vector<Row> Align(const std::vector<MessageRecord>& expected, const MessageSequence& actual)
{
    size_t n = expected.size(), m = actual.size();
    std::vector<std::vector<size_t>> common(n + 1, std::vector<size_t>(m + 1, 0));
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m; j-- > 0;) {
            common[i][j] = actual.Same(expected[i], actual[j]) ? common[i + 1][j + 1] + 1
                                                               : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    std::vector<Row> rows;
    size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && actual.Same(expected[i], actual[j])) {
            rows.push_back({&expected[i++], &actual[j++]});
        } else if (j < m && (i == n || common[i][j + 1] > common[i + 1][j])) {
            rows.push_back({nullptr, &actual[j++]});
        } else {
            rows.push_back({&expected[i++], nullptr});
        }
    }
    // Messages missing just before as many added are messages that changed:
    // one line each, side by side.
    std::vector<Row> paired;
    for (size_t k = 0; k < rows.size();) {
        size_t missing = 0, added = 0;
        while (k + missing < rows.size() && rows[k + missing].actual == nullptr)
            ++missing;
        while (k + missing + added < rows.size() && rows[k + missing + added].expected == nullptr)
            ++added;
        if (missing == 0 && added == 0) {
            paired.push_back(rows[k++]);
            continue;
        }
        for (size_t p = 0; p < std::max(missing, added); ++p) {
            paired.push_back({p < missing ? rows[k + p].expected : nullptr,
                              p < added ? rows[k + missing + p].actual : nullptr});
        }
        k += missing + added;
    }
    return paired;
}

}  // namespace

MessageSequence MessageSequence::Where(const std::function<bool(const MessageRecord&)>& which) const
{
    MessageSequence chosen(fields_, names_);
    for (const MessageRecord& record : records_) {
        if (which(record))
            chosen.Add(record);
    }
    return chosen;
}

MessageSequence MessageSequence::Compared(unsigned fields) const
{
    MessageSequence same(fields, names_);
    same.records_ = records_;
    return same;
}

size_t MessageSequence::Count(UINT message) const
{
    return Count([message](const MessageRecord& record) { return record.message == message; });
}

size_t MessageSequence::Count(const std::function<bool(const MessageRecord&)>& which) const
{
    return static_cast<size_t>(std::count_if(records_.begin(), records_.end(), which));
}

size_t MessageSequence::CountCommand(int command) const
{
    return Count([command](const MessageRecord& record) {
        return record.message == WM_COMMAND && LOWORD(record.wParam) == command;
    });
}

bool MessageSequence::Same(const MessageRecord& a, const MessageRecord& b) const
{
    return a.message == b.message && ((fields_ & kWindowField) == 0 || a.window == b.window) &&
           ((fields_ & kWParamField) == 0 || a.wParam == b.wParam) &&
           ((fields_ & kLParamField) == 0 || a.lParam == b.lParam) &&
           ((fields_ & kPostedField) == 0 || a.posted == b.posted);
}

std::string MessageSequence::Describe(const MessageRecord& record) const
{
    std::string line;
    if ((fields_ & kWindowField) != 0)
        line += record.window + " ";
    std::string name = MessageName(record.message, names_);
    line += name.empty() ? Value(record.message) : name + "(" + std::to_string(record.message) + ")";
    if ((fields_ & kWParamField) != 0)
        line += " w=" + Value(static_cast<LONG_PTR>(record.wParam));
    if ((fields_ & kLParamField) != 0)
        line += " l=" + Value(record.lParam);
    if ((fields_ & kPostedField) != 0)
        line += record.posted ? " posted" : " sent";
    return line;
}

::testing::AssertionResult SameMessages(const char* expectedText, const char* actualText,
                                        const std::vector<MessageRecord>& expected, const MessageSequence& actual)
{
    bool same = expected.size() == actual.size();
    for (size_t i = 0; same && i < expected.size(); ++i)
        same = actual.Same(expected[i], actual[i]);
    if (same)
        return ::testing::AssertionSuccess();

    std::vector<Row> rows = Align(expected, actual);
    size_t width = 8;
    for (const Row& row : rows) {
        if (row.expected != nullptr)
            width = std::max(width, actual.Describe(*row.expected).size());
    }
    // "  " alike, "! " changed, "- " missing from actual, "+ " not expected.
    std::string report = std::string("the messages of ") + actualText + " are not those of " + expectedText +
                         ":\n    " + std::string("expected") + std::string(width - 8, ' ') + " | actual\n";
    for (const Row& row : rows) {
        std::string left = row.expected != nullptr ? actual.Describe(*row.expected) : "";
        std::string right = row.actual != nullptr ? actual.Describe(*row.actual) : "";
        const char* mark = row.expected == nullptr ? "+ "
                           : row.actual == nullptr ? "- "
                           : actual.Same(*row.expected, *row.actual) ? "  "
                                                                      : "! ";
        report += std::string("  ") + mark + left + std::string(width - left.size(), ' ') + " | " + right + "\n";
    }
    return ::testing::AssertionFailure() << report;
}

void PrintTo(const MessageRecord& record, std::ostream* out)
{
    *out << MessageSequence().Describe(record);
}
