#pragma once
#include <pthread.h>

// The process's one T, built on first use and never destroyed, so that
// objects released while the process ends still find it. T's `mutex` is
// held across fork: a child never finds it locked by a thread it lacks.
template <class T>
T& NUVLockedSingleton() {
  static T* const instance = [] {
    auto* made = new T;
    pthread_atfork([] { NUVLockedSingleton<T>().mutex.lock(); },
                   [] { NUVLockedSingleton<T>().mutex.unlock(); },
                   [] { NUVLockedSingleton<T>().mutex.unlock(); });
    return made;
  }();
  return *instance;
}
