#pragma once

#include <QString>

#include <functional>

namespace Maintenance {

// How an operation tells the window where it is; every part may be left empty.
struct Progress
{
    std::function<void(int)> setMaximum;
    std::function<void()> step;
    std::function<void(const QString&)> status;

    void max(int m) const
    {
        if (setMaximum) setMaximum(m);
    }
    void advance() const
    {
        if (step) step();
    }
    void show(const QString& text) const
    {
        if (status) status(text);
    }
};

} // namespace Maintenance
