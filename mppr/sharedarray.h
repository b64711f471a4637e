#pragma once

// A fixed-size array of values that most records leave as they are: every array that was never
// written shares one block of fill values, and a copy shares its source's block until one of the
// two is written. A task then carries one pointer per group of custom values instead of the
// values themselves.

#include <QSharedData>
#include <QSharedDataPointer>

#include <array>
#include <cstddef>

namespace mppr {

template<typename T> const T &valueInitialized()
{
    static const T value {};
    return value;
}

template<typename T, std::size_t N, const T &(*Fill)() = &valueInitialized<T>> class SharedArray
{
public:
    SharedArray()
        : d(blank())
    {
    }

    const T &operator[](std::size_t k) const { return values()[k]; }
    const T &at(std::size_t k) const { return values().at(k); }
    // Gives the array a block of its own first, when it shares one.
    T &operator[](std::size_t k) { return d->values[k]; }
    void fill(const T &value) { d->values.fill(value); }

    const T *begin() const { return values().data(); }
    const T *end() const { return values().data() + N; }
    static constexpr std::size_t size() { return N; }

    // Whether the two arrays hold one block: neither was written since one was copied from the
    // other or from a third, or since both were made.
    bool sharesWith(const SharedArray &other) const { return d.constData() == other.d.constData(); }

private:
    struct Data : QSharedData
    {
        std::array<T, N> values;
    };
    const std::array<T, N> &values() const { return d.constData()->values; }
    static const QSharedDataPointer<Data> &blank()
    {
        static const QSharedDataPointer<Data> block = [] {
            QSharedDataPointer<Data> made(new Data);
            made->values.fill(Fill());
            return made;
        }();
        return block;
    }

    QSharedDataPointer<Data> d;
};

} // namespace mppr
