#pragma once
#include "NUVEdbObjAttrType.h"
#include "NUVHostBackend.h"
#include "NUVUnicodeString.h"

class NUVBaseUnknown;

// How the values of one answer column become cells: the attribute name and
// class type they carry and the type a header asks for (EdbTypeNone: each
// value by its own type).
struct NUVHostCellColumn {
  NUVUnicodeString attrName;             // the attribute name the cells carry
  NUVUnicodeString classType;            // the class type the cells carry
  NUVEdbObjAttrType type = EdbTypeNone;  // the type a header asks for, or EdbTypeNone
};

// What the database answered a value as, which its cell cannot always
// tell: an integer beyond 32 bits becomes a text cell, a truth value an
// integer cell.
enum class NUVHostValueSort : unsigned char { Null, Integer, Boolean, Double, Text, Bytes };

// A new cell (one reference, the caller's) for the cursor's value in the
// column counted from 0; null when memory runs out. Texts are carried
// blank-encoded whatever the text mode. With sort, it also receives what
// the database answered the value as.
NUVBaseUnknown* NUVHostNewCell(const NUVHostCellColumn& column, const NUVHostCursor& cursor, size_t index,
                               NUVHostTextMode mode, NUVHostValueSort* sort = nullptr);
