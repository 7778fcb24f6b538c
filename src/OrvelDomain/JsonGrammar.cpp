#include "JsonGrammar.h"

#include <algorithm>

#include "JsonTokens.h"
#include "Utf8Sequence.h"

namespace orvel::json {

namespace {

using tokens::isBlank;

class Scanner {
public:
    Scanner(std::string_view text, Outline* outline) : text_(text), outline_(outline) {}

    bool document();

private:
    bool atEnd() const { return at_ >= text_.size(); }
    void skipBlanks() {
        while (!atEnd() && isBlank(text_[at_])) ++at_;
    }
    bool scalar();
    bool string();
    bool key();
    bool literal(std::string_view word);
    bool escape();

    std::string_view text_;
    Outline* outline_;
    std::size_t at_ = 0;
};

bool Scanner::document() {
    // Whether each open array or object is an object: all the scanner keeps of the nesting.
    std::vector<bool> objects;
    skipBlanks();
    const std::size_t begin = at_;
    const bool isArray = !atEnd() && text_[at_] == '[';
    // The deepest nesting since the current entry began, the outermost array counted.
    std::size_t deepest = 0;
    std::size_t entryBegin = begin;
    const auto inEntries = [&] { return isArray && objects.size() == 1; };
    for (;;) {
        // A value starts here.
        skipBlanks();
        if (inEntries()) {
            entryBegin = at_;
            deepest = 1;
        }
        if (atEnd()) return false;
        const char opening = text_[at_];
        if (opening == '[' || opening == '{') {
            ++at_;
            objects.push_back(opening == '{');
            deepest = std::max(deepest, objects.size());
            skipBlanks();
            if (atEnd()) return false;
            if (text_[at_] != (opening == '{' ? '}' : ']')) {
                if (opening == '{' && !key()) return false;
                continue;
            }
            ++at_;
            objects.pop_back();
        } else if (!scalar()) {
            return false;
        }
        // A value ended; so may the arrays and objects it was the last of.
        for (;;) {
            if (inEntries() && outline_ != nullptr) {
                outline_->entries.push_back({text_.substr(entryBegin, at_ - entryBegin), deepest - 1});
            }
            if (objects.empty()) {
                if (outline_ != nullptr && !isArray) outline_->entries.push_back({text_.substr(begin, at_ - begin), deepest});
                skipBlanks();
                if (outline_ != nullptr) outline_->isArray = isArray;
                return atEnd();
            }
            skipBlanks();
            if (atEnd()) return false;
            const char next = text_[at_++];
            if (next == ',') {
                if (objects.back() && !key()) return false;
                break;
            }
            if (next != (objects.back() ? '}' : ']')) return false;
            objects.pop_back();
        }
    }
}

bool Scanner::scalar() {
    switch (text_[at_]) {
    case '"': return string();
    case 't': return literal("true");
    case 'f': return literal("false");
    case 'n': return literal("null");
    default: {
        const std::size_t length = tokens::numberLength(text_, at_);
        at_ += length;
        return length > 0;
    }
    }
}

// A member's name and its colon; the value is the caller's.
bool Scanner::key() {
    skipBlanks();
    if (atEnd() || text_[at_] != '"' || !string()) return false;
    skipBlanks();
    if (atEnd() || text_[at_] != ':') return false;
    ++at_;
    return true;
}

bool Scanner::literal(std::string_view word) {
    if (!text_.substr(at_).starts_with(word)) return false;
    at_ += word.size();
    return true;
}

bool Scanner::string() {
    for (++at_; !atEnd();) {
        const auto c = static_cast<unsigned char>(text_[at_]);
        if (c == '"') {
            ++at_;
            return true;
        }
        if (c < 0x20) return false;
        if (c == '\\') {
            if (!escape()) return false;
        } else if (c < 0x80) {
            ++at_;
        } else {
            const utf8::Sequence sequence = utf8::sequenceAt(text_, at_);
            if (!sequence.codePoint) return false;
            at_ += sequence.length;
        }
    }
    return false;
}

// Any code unit is grammatical after "\u", a surrogate without its other half too.
bool Scanner::escape() {
    ++at_;
    if (atEnd()) return false;
    const char c = text_[at_];
    if (c == 'u') {
        if (!tokens::hexQuad(text_, at_ + 1)) return false;
        at_ += 5;
        return true;
    }
    if (std::string_view("\"\\/bfnrt").find(c) == std::string_view::npos) return false;
    ++at_;
    return true;
}

}  // namespace

std::optional<Outline> outline(std::string_view text) {
    Outline out;
    if (!Scanner(text, &out).document()) return std::nullopt;
    return out;
}

bool isDocument(std::string_view text) { return Scanner(text, nullptr).document(); }

}  // namespace orvel::json
