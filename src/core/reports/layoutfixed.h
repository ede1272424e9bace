#pragma once

#include <QtGlobal>

#include <climits>
#include <compare>

// A length in 1/64 units, rounded as Qt's text layout rounds its lengths, so that positions
// worked out with it come out where QTextDocument puts them.
struct LayoutFixed
{
    qint64 v = 0;

    static LayoutFixed raw(qint64 value) { return LayoutFixed {value}; }
    static LayoutFixed of(int whole) { return LayoutFixed {qint64(whole) * 64}; }
    static LayoutFixed fromReal(qreal r) { return LayoutFixed {qint64(int(r * 64))}; }
    // "As wide as it gets": what a paragraph is measured at for its widest line.
    static LayoutFixed max() { return of(INT_MAX / 256); }
    qreal real() const { return qreal(v) / 64; }
    LayoutFixed round() const { return raw((v + 32) & -64); }
    LayoutFixed ceil() const { return raw((v + 63) & -64); }

    LayoutFixed operator+(LayoutFixed o) const { return raw(v + o.v); }
    LayoutFixed operator-(LayoutFixed o) const { return raw(v - o.v); }
    LayoutFixed operator*(int i) const { return raw(v * i); }
    LayoutFixed operator/(int i) const { return raw(v / i); }
    LayoutFixed operator*(LayoutFixed o) const { return raw((v * o.v) >> 6); }
    LayoutFixed operator/(LayoutFixed o) const { return raw((v * 64) / o.v); }
    LayoutFixed &operator+=(LayoutFixed o)
    {
        v += o.v;
        return *this;
    }
    LayoutFixed &operator-=(LayoutFixed o)
    {
        v -= o.v;
        return *this;
    }
    auto operator<=>(const LayoutFixed &) const = default;
};
