#pragma once
#include <atomic>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "NUVDebugAssert.h"
#include "NUVPlatformExport.h"
#include "NUVSharedCount.h"
#include "NUVUnicodeChar.h"

// The platform string. Holds UTF-8; lengths in characters count code points.
//
// Sixteen bytes: a text of up to fifteen bytes lives inline, a longer one in
// a shared, reference-counted buffer that copies share and that a change
// never alters in place while another string shares it. Copying therefore
// never allocates; only building a long text does.
class NUVPLATFORM_API NUVUnicodeString {
 public:
  NUVUnicodeString() noexcept {
    SetInlineLength(0);
    NUV_DEBUG_ASSERT(HoldsInvariants());
  }
  // A null pointer gives the empty string.
  // NOLINTNEXTLINE(google-explicit-constructor): C strings stand for platform strings everywhere
  NUVUnicodeString(const char* utf8) { Init(utf8 ? std::string_view(utf8) : std::string_view()); }
  // The UTF-8 bytes given, which may hold zero bytes.
  explicit NUVUnicodeString(std::string_view utf8) { Init(utf8); }
  // @{
  // Copies share a long text's buffer, so copying never allocates.
  NUVUnicodeString(const NUVUnicodeString& other) noexcept {
    CopyFrom(other);
    NUV_DEBUG_ASSERT(HoldsInvariants());
  }
  // @}
  // @{
  // Takes the other's text over; the other is left empty.
  NUVUnicodeString(NUVUnicodeString&& other) noexcept {
    TakeFrom(other);
    NUV_DEBUG_ASSERT(HoldsInvariants() && other.HoldsInvariants());
  }
  // @}
  ~NUVUnicodeString() { ReleaseShared(); }

  // Shares the other's text as the copy constructor does.
  NUVUnicodeString& operator=(const NUVUnicodeString& other) noexcept {
    if (this != &other) {
      ReleaseShared();
      CopyFrom(other);
    }
    NUV_DEBUG_ASSERT(HoldsInvariants());
    return *this;
  }
  // Takes the other's text over; the other is left empty.
  NUVUnicodeString& operator=(NUVUnicodeString&& other) noexcept {
    if (this != &other) {
      ReleaseShared();
      TakeFrom(other);
    }
    NUV_DEBUG_ASSERT(HoldsInvariants() && other.HoldsInvariants());
    return *this;
  }
  // Replaces the text by the C string's; null gives the empty string.
  NUVUnicodeString& operator=(const char* utf8);
  // @{
  // Appends the text; a null C string appends nothing.
  NUVUnicodeString& operator+=(const NUVUnicodeString& other) { return Append(other.View()); }
  NUVUnicodeString& operator+=(const char* utf8) { return utf8 ? Append(utf8) : *this; }
  // @}
  // @{
  // True when the bytes are the same; a null C string equals the empty
  // string.
  bool operator==(const NUVUnicodeString& other) const { return View() == other.View(); }
  bool operator==(const char* utf8) const {
    return View() == (utf8 ? std::string_view(utf8) : std::string_view());
  }
  // @}

  // The number of characters (code points).
  int GetLengthInChar() const;
  // True when GetLengthInChar would answer 0, found without counting: only
  // a text that starts with a continuation byte needs a closer look.
  bool HasNoCharacter() const {
    const std::string_view text = View();
    return text.empty() || ((static_cast<unsigned char>(text[0]) & 0xC0) == 0x80 && OnlyContinuationBytes());
  }
  // The UTF-8 bytes, zero-terminated; valid until the string changes or is destroyed.
  const char* CastToCharPtr() const { return IsShared() ? SharedRep()->Text() : inline_; }
  // The UTF-8 bytes, without the terminating zero; valid as CastToCharPtr.
  std::string_view View() const {
    return IsShared() ? std::string_view(SharedRep()->Text(), SharedRep()->size)
                      : std::string_view(inline_, kInlineCapacity - Tag());
  }
  // The number of UTF-8 bytes.
  size_t GetLengthInBytes() const { return IsShared() ? SharedRep()->size : kInlineCapacity - Tag(); }

  // Replaces the text by `bytes` bytes that the caller writes through the
  // answer before it reads or copies the string; the terminating zero is
  // already in place. A buffer that this string alone holds and that has
  // room is written again rather than replaced, so the caller must not
  // read the old text while it writes.
  char* PrepareOverwrite(size_t bytes);
  // Keeps the first `bytes` bytes of what PrepareOverwrite prepared, when
  // fewer were written (never more than were prepared).
  void FinishOverwrite(size_t bytes);

  // @{
  // Replaces the text by the number formatted as the C locale does, whatever
  // the process locale. The format holds one conversion for the value type
  // ("%d"-like for int, "%g"-like for double); another format raises a
  // platform error.
  NUVUnicodeString& BuildFromNum(int value, const char* format = "%d");
  NUVUnicodeString& BuildFromNum(double value, const char* format = "%g");
  // @}

  // Replaces every occurrence of name, left to right and without overlap, by
  // text; never searches inside text it has just inserted. An empty name
  // changes nothing. Returns the number of replacements.
  int ReplaceSubString(const NUVUnicodeString& name, const NUVUnicodeString& text);
  // The same, and appends to at where each occurrence began in the text as
  // it was before the call (byte offsets, left to right).
  int ReplaceSubString(const NUVUnicodeString& name, const NUVUnicodeString& text, std::vector<size_t>& at);

  // Removes the character at the start (mode 1), the end (mode 2) or both (3).
  NUVUnicodeString& Strip(int mode, const NUVUnicodeChar& c = NUVUnicodeChar(' '));

 private:
  // The shared buffer: its header, then the text and a terminating zero.
  struct Rep {
    NUVSharedCount<size_t> refs{1};
    size_t size;
    size_t capacity;  // bytes of text the buffer can hold
    char* Text() { return reinterpret_cast<char*>(this + 1); }
  };
  static constexpr size_t kInlineCapacity = 15;
  // The last byte tells the two forms apart: inline, it holds 15 minus the
  // length, which makes it the terminator of a fifteen-byte text.
  static constexpr unsigned char kSharedTag = 0xFF;

  // True when the representation is sound: an inline text has its length
  // in the tag byte and its terminator in place; a shared one has a buffer
  // with a reference, room for its text and its terminator in place.
  bool HoldsInvariants() const noexcept;

  unsigned char Tag() const { return static_cast<unsigned char>(inline_[kInlineCapacity]); }
  bool IsShared() const { return Tag() == kSharedTag; }
  Rep* SharedRep() const {
    Rep* rep;
    std::memcpy(&rep, inline_, sizeof rep);
    return rep;
  }
  void SetInlineLength(size_t length) {
    inline_[length] = '\0';
    inline_[kInlineCapacity] = static_cast<char>(kInlineCapacity - length);
  }
  void SetShared(Rep* rep) {
    std::memcpy(inline_, &rep, sizeof rep);
    inline_[kInlineCapacity] = static_cast<char>(kSharedTag);
  }
  void CopyFrom(const NUVUnicodeString& other) noexcept {
    std::memcpy(inline_, other.inline_, sizeof inline_);
    if (IsShared()) SharedRep()->refs.Increment();
  }
  void TakeFrom(NUVUnicodeString& other) noexcept {
    std::memcpy(inline_, other.inline_, sizeof inline_);
    other.SetInlineLength(0);
  }
  void ReleaseShared() noexcept {
    if (IsShared() && SharedRep()->refs.Decrement() == 0) FreeRep(SharedRep());
  }
  static void FreeRep(Rep* rep) noexcept;
  // The shared buffer when this string holds it alone and it has room for
  // `bytes` bytes of text; else null.
  Rep* SoleRepWithRoom(size_t bytes) const {
    if (!IsShared()) return nullptr;
    Rep* rep = SharedRep();
    return rep->refs.IsSole() && rep->capacity >= bytes ? rep : nullptr;
  }
  // True when no other string shares this one's text.
  bool OwnsTextAlone() const;
  // True when part lies within this string's text.
  bool Holds(std::string_view part) const;
  int Replace(std::string_view pattern, std::string_view replacement, std::vector<size_t>* at);
  int ReplaceInPlace(std::string_view pattern, std::string_view replacement, size_t found,
                     std::vector<size_t>* at);
  bool OnlyContinuationBytes() const;

  // Builds the text of a string under construction.
  void Init(std::string_view utf8) {
    SetInlineLength(0);
    if (!utf8.empty()) std::memcpy(Reserve(utf8.size(), utf8.size()), utf8.data(), utf8.size());
    NUV_DEBUG_ASSERT(HoldsInvariants() && View() == utf8);
  }
  // Builds the text afresh; the source may lie inside this string.
  void Assign(std::string_view utf8);
  NUVUnicodeString& Append(std::string_view utf8);
  // Gives this string storage for `bytes` bytes of its own, unshared and
  // with room for `capacity`, and answers where the text starts.
  char* Reserve(size_t bytes, size_t capacity);

  alignas(sizeof(void*)) char inline_[kInlineCapacity + 1];
};
