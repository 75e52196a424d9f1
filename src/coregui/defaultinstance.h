// The one default instance of a window: made and loaded on first use, asked whether
// it is loaded, and unloaded on request. A window may unload itself from one of its
// own handlers, so an unloaded window is hidden at once and deleted once control is
// back in the event loop.
#pragma once

#include <utility>

template <class W>
class DefaultInstance {
public:
    // The window; make() creates and loads it when there is none.
    template <class Make>
    W &get(Make make)
    {
        if (!w_)
            w_ = make();
        return *w_;
    }
    bool loaded() const { return w_ != nullptr; }
    bool is(const W *w) const { return w_ == w; }
    // Forgets w if it is the instance (its destructor calls this).
    void forget(const W *w)
    {
        if (w_ == w)
            w_ = nullptr;
    }
    // Forgets the window, lets end(window) do its unload work, then hides it and
    // deletes it later. Nothing happens when none is loaded.
    template <class End>
    void unload(End end)
    {
        W *w = std::exchange(w_, nullptr);
        if (!w)
            return;
        end(*w);
        w->hide();
        w->deleteLater();
    }

private:
    W *w_ = nullptr;
};
