#pragma once

// How one component of a test host answers its calls, counted from 1: as
// it should, with a failure code, with a null answer, or by raising an
// error. Each setting names the one call it applies to; kEveryCall applies
// it to all of them, 0 to none.
struct HostScript {
  static constexpr int kEveryCall = -1;

  enum class Answer { Normal, Fail, Null };

  int calls = 0;
  int failAt = 0;
  int nullAt = 0;
  int raiseAt = 0;

  bool Hits(int at) const { return at == kEveryCall || (at > 0 && at == calls); }
  void Reset() { *this = HostScript{}; }
};

// Settings that span every component of a host: a raise at the n-th host
// call of any component, and the kind of error raised.
struct HostWideScript {
  int calls = 0;
  int raiseAt = 0;
  // Raise an object that is not of the platform's error kind.
  bool raiseForeign = false;
  // Raises counted since the host was made.
  int raises = 0;
};

// The number of references an object holds now.
template <class T>
unsigned long ReferencesOf(T* object) {
  object->AddRef();
  return object->Release();
}
