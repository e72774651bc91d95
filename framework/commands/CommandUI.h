#pragma once

// The appearance of one command, filled in by an update handler: whether its
// elements are enabled, and their check or radio mark. Marks the handler does
// not set are left as the elements have them.
class CommandUI {
public:
    explicit CommandUI(unsigned id) : m_id(id) {}

    unsigned Id() const { return m_id; }

    void Enable(bool on = true) { m_enabled = on; }
    void SetCheck(bool on = true) {
        m_markSet = true;
        m_radio = false;
        m_checked = on;
    }
    // A radio mark: shown as a checked element in the look of a choice.
    void SetRadio(bool on = true) {
        m_markSet = true;
        m_radio = true;
        m_checked = on;
    }

    bool IsEnabled() const { return m_enabled; }
    bool IsMarkSet() const { return m_markSet; }
    bool IsChecked() const { return m_checked; }
    bool IsRadio() const { return m_radio; }

private:
    unsigned m_id;
    bool m_enabled = true;
    bool m_markSet = false;
    bool m_checked = false;
    bool m_radio = false;
};
