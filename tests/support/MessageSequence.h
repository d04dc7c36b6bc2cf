// Messages as a window received them, in order, and the comparison of such
// a sequence with the one a test expects: as Wine's own message tests do,
// a protocol is asserted as the list of its messages, and a failure prints
// both lists side by side with the messages' names.
//
//   std::vector<MessageRecord> expected = {Sent("I", kInkSetZoom, 0, 300),
//                                          Posted("C", kInkSetPageStyle, 16)};
//   EXPECT_MESSAGES(expected, log);
#pragma once

#include "tests/support/MessageNames.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct MessageRecord {
    std::string window;  // the test's name for the window that got it
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool posted = false;  // taken from the queue, not sent
    HWND hwnd = nullptr;  // for the test's own questions; never compared
};

inline MessageRecord Sent(const char* window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return MessageRecord{window, message, wParam, lParam, false};
}
inline MessageRecord Posted(const char* window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return MessageRecord{window, message, wParam, lParam, true};
}

// What of a record a comparison looks at; the message always counts.
enum MessageField : unsigned {
    kMessageOnly = 0,
    kWindowField = 1,
    kWParamField = 2,
    kLParamField = 4,
    kPostedField = 8,
    kAllFields = 15,
};

class MessageSequence {
public:
    explicit MessageSequence(unsigned fields = kAllFields, unsigned names = kProgramMessages)
        : fields_(fields), names_(names)
    {
    }

    unsigned Fields() const { return fields_; }
    unsigned Names() const { return names_; }

    void Add(const MessageRecord& record) { records_.push_back(record); }
    void Clear() { records_.clear(); }

    const std::vector<MessageRecord>& Records() const { return records_; }
    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    const MessageRecord& operator[](size_t index) const { return records_[index]; }
    const MessageRecord& back() const { return records_.back(); }
    std::vector<MessageRecord>::const_iterator begin() const { return records_.begin(); }
    std::vector<MessageRecord>::const_iterator end() const { return records_.end(); }

    // The records that pass, compared and named as these are.
    MessageSequence Where(const std::function<bool(const MessageRecord&)>& which) const;
    // The same records, compared by other fields.
    MessageSequence Compared(unsigned fields) const;
    size_t Count(UINT message) const;
    size_t Count(const std::function<bool(const MessageRecord&)>& which) const;
    // WM_COMMAND with this command in the low word of wParam.
    size_t CountCommand(int command) const;

    // True when the two agree in the fields this sequence compares.
    bool Same(const MessageRecord& a, const MessageRecord& b) const;
    // One line: "I kInkSetZoom(1314) w=0 l=300 sent", with only the fields compared.
    std::string Describe(const MessageRecord& record) const;

private:
    std::vector<MessageRecord> records_;
    unsigned fields_;
    unsigned names_;
};

// For EXPECT_MESSAGES: passes when actual holds the expected messages in
// order, each equal in the fields actual compares; otherwise tells both
// sequences side by side, one message a line, marking where they part.
::testing::AssertionResult SameMessages(const char* expectedText, const char* actualText,
                                        const std::vector<MessageRecord>& expected, const MessageSequence& actual);

#define EXPECT_MESSAGES(expected, actual) EXPECT_PRED_FORMAT2(SameMessages, expected, actual)
#define ASSERT_MESSAGES(expected, actual) ASSERT_PRED_FORMAT2(SameMessages, expected, actual)

// Lets GoogleTest print a record in other assertions.
void PrintTo(const MessageRecord& record, std::ostream* out);
