#pragma once

#include "core/messages/refusal.h"

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// What a computation that may refuse gives back: its value, or the refusal that says why
// there is none.
template<typename T>
class Outcome
{
public:
    Outcome(T value)
        : m_result(std::in_place_index<0>, std::move(value))
    { }
    Outcome(Refusal refusal)
        : m_result(std::in_place_index<1>, std::move(refusal))
    { }

    static Outcome refused(const QString &text) { return Outcome(Refusal {text}); }

    bool isRefused() const { return m_result.index() == 1; }
    explicit operator bool() const { return !isRefused(); }

    const T &value() const { return std::get<0>(m_result); }
    T &value() { return std::get<0>(m_result); }
    const T &operator*() const { return value(); }
    T &operator*() { return value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }

    const Refusal &refusal() const { return std::get<1>(m_result); }
    // The refusal's text; empty when the computation ran.
    QString refusalText() const { return isRefused() ? refusal().text : QString(); }

private:
    std::variant<T, Refusal> m_result;
};

// A computation that changes its input and gives nothing back, unless it refuses.
template<>
class Outcome<void>
{
public:
    Outcome() = default;
    Outcome(Refusal refusal)
        : m_refusal(std::move(refusal))
    { }

    static Outcome refused(const QString &text) { return Outcome(Refusal {text}); }

    bool isRefused() const { return m_refusal.has_value(); }
    explicit operator bool() const { return !isRefused(); }

    const Refusal &refusal() const { return *m_refusal; }
    QString refusalText() const { return isRefused() ? m_refusal->text : QString(); }

private:
    std::optional<Refusal> m_refusal;
};
