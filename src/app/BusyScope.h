#pragma once

namespace orba {

// Row selections made while a list is rebuilt must not refresh the detail view.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : m_busy(busy), m_was(busy) { m_busy = true; }
    ~BusyScope() { m_busy = m_was; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
    bool m_was;
};

} // namespace orba
