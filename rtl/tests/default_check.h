// Checks a freshly constructed component against its published-property table: every declared
// default must be the value the object starts with, so the form writer leaves exactly the
// changed properties out. Use it for every component class:
//
//   ExpectDefaultsMatch(Foo);                          // Foo: a fresh TFoo, still the caller's
//   ExpectClassDefaultsMatch(TFoo::StaticClass());     // creates and frees one by the factory
#pragma once
#include "rtl/Classes.h"
#include "rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

namespace orv_test {

inline bool IsOrdinalKind(TTypeKind K) {
  return K == tkInteger || K == tkChar || K == tkEnumeration || K == tkSet || K == tkInt64;
}

inline std::string PropValueText(const TObject* Obj, const TPropInfo* P) {
  try {
    return GetPropValueText(Obj, P).str();
  } catch (const std::exception& E) {
    return std::string("(") + E.what() + ")";
  }
}

// Checks Obj's own properties, then the published properties of its owned sub-objects (Font,
// Pen...), with Path naming the object in failure messages ("Font.").
inline void ExpectPropertyDefaults(const TObject* Obj, const std::string& Path,
                                   std::initializer_list<const char*> Exceptions, int Depth) {
  for (const TPropInfo* P : Obj->ClassType()->AllProps()) {
    const std::string Name = Path + P->Name;
    if (std::any_of(Exceptions.begin(), Exceptions.end(), [&](const char* E) { return SameText(E, Name); }))
      continue;
    SCOPED_TRACE(Obj->ClassName().str() + " property " + Name);
    if (IsOrdinalKind(P->Kind)) {
      ASSERT_TRUE(P->GetOrd) << "ordinal property without a getter";
      // The default itself must be writable: an enumeration name, set elements with names.
      if (P->HasDefault && P->Kind == tkEnumeration) {
        ASSERT_TRUE(P->EnumType);
        EXPECT_TRUE(P->Default >= 0 && P->Default < P->EnumType->Count())
            << "default " << P->Default << " is not a value of " << P->EnumType->Name;
      }
      if (P->HasDefault && P->Kind == tkSet) {
        ASSERT_TRUE(P->EnumType);
        const int Count = P->EnumType->Count();
        EXPECT_TRUE(Count >= 64 || (uint64_t(P->Default) >> Count) == 0)
            << "default holds elements " << P->EnumType->Name << " does not name";
      }
      if (P->HasDefault) {
        EXPECT_EQ(P->GetOrd(Obj), P->Default)
            << "fresh value " << PropValueText(Obj, P) << " differs from the declared default";
      }
    } else if (P->Kind == tkMethod) {
      ASSERT_TRUE(P->GetMethod);
      EXPECT_FALSE(P->GetMethod(Obj)) << "a fresh object has an event assigned";
    } else if (P->Kind == tkClass && P->IsReference) {
      ASSERT_TRUE(P->GetObj);
      EXPECT_EQ(P->GetObj(Obj), nullptr) << "a fresh object references " << PropValueText(Obj, P);
    } else if (P->Kind == tkClass) {
      ASSERT_TRUE(P->GetObj);
      TObject* Sub = P->GetObj(Obj);
      // Sub-components are separate objects with their own check; sub-objects are part of this one.
      if (Sub && !dynamic_cast<TComponent*>(Sub) && Depth < 8)
        ExpectPropertyDefaults(Sub, Name + ".", Exceptions, Depth + 1);
    }
  }
}

}  // namespace orv_test

// Exceptions lists properties ("Font.Height") whose fresh value deliberately differs from the
// declared default.
inline void ExpectDefaultsMatch(TComponent* Fresh, std::initializer_list<const char*> Exceptions = {}) {
  ASSERT_TRUE(Fresh);
  orv_test::ExpectPropertyDefaults(Fresh, "", Exceptions, 0);
}

// Creates an unowned instance through the class's factory and checks it.
inline void ExpectClassDefaultsMatch(TClass C, std::initializer_list<const char*> Exceptions = {}) {
  ASSERT_TRUE(C);
  ASSERT_TRUE(C->Create) << C->Name << " has no factory";
  SCOPED_TRACE(C->Name);
  TComponent* Fresh = C->Create(nullptr);
  ExpectDefaultsMatch(Fresh, Exceptions);
  TObject::Free(Fresh);
}
