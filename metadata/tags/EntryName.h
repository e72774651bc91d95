#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

// An entry's name: one of the program's own constants (a tag name from the
// tables), held as a view, or a text of its own (an XMP path, "Tag0x9A01").
// Most names come from the tables, and a third of them are longer than a
// std::string holds without a heap block of its own.
class EntryName {
public:
    EntryName() = default;
    EntryName(std::string text) : m_own(std::move(text)) {}
    EntryName(const char* text) : m_own(text) {}
    EntryName& operator=(std::string text) {
        m_constant = {};
        m_own = std::move(text);
        return *this;
    }
    EntryName& operator=(const char* text) { return *this = std::string(text); }

    // `text` must outlive every copy of the name: a literal, a table's.
    void SetConstant(std::string_view text) {
        m_constant = text;
        m_own.clear();
    }

    // A constant's text lives, unchanged, as long as the program: its
    // address tells it apart from every other name.
    bool IsConstant() const { return m_constant.data() != nullptr; }
    std::string_view View() const {
        return m_constant.data() != nullptr ? m_constant : std::string_view(m_own);
    }
    operator std::string_view() const { return View(); }
    operator std::string() const { return std::string(View()); }
    bool empty() const { return View().empty(); }
    size_t size() const { return View().size(); }

    friend bool operator==(const EntryName& name, std::string_view text) {
        return name.View() == text;
    }

private:
    std::string_view m_constant; // no data: the name is m_own
    std::string m_own;
};

std::ostream& operator<<(std::ostream& out, const EntryName& name);
