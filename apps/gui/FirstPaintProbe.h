#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

namespace brelvion::apps::gui {

// The start-up benchmark's hook (bench/GuiStartBench.cpp, run by bench/gui-bench.sh).
// Runs start (the window's start-up, which lets events run and so may paint already),
// then the event loop, and returns its status. With BRELVION_EXIT_AFTER_FIRST_PAINT=1 in
// the environment it instead prints "first paint N ms after main()" on standard output once
// window has been painted for the first time, and returns 0 then, so that the program ends.
int execWithFirstPaintProbe(const QWidget& window, const QElapsedTimer& sinceMain,
                            const std::function<void()>& start);

}  // namespace brelvion::apps::gui
