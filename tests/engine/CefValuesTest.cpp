#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "include/cef_process_message.h"
#include "include/cef_values.h"
#include "src/CefProcessMessageImpl.h"

namespace {

CefRefPtr<CefListValue> ListOf(std::initializer_list<int> values) {
  CefRefPtr<CefListValue> list = CefListValue::Create();
  int index = 0;
  for (int value : values) list->SetInt(index++, value);
  return list;
}

TEST(CefListValue, ReadsEveryTypeWithTheDocumentedConversions) {
  const unsigned char bytes[] = {1, 2, 3};
  struct Case {
    const char* name;
    std::function<void(CefListValue&)> store;  // at index 0
    CefValueType type;
    bool asBool;
    int asInt;
    double asDouble;
    std::string asString;
  };
  const Case cases[] = {
      {"null", [](CefListValue& l) { l.SetNull(0); }, VTYPE_NULL, false, 0, 0, ""},
      {"true", [](CefListValue& l) { l.SetBool(0, true); }, VTYPE_BOOL, true, 1, 1, ""},
      {"false", [](CefListValue& l) { l.SetBool(0, false); }, VTYPE_BOOL, false, 0, 0, ""},
      {"int", [](CefListValue& l) { l.SetInt(0, -7); }, VTYPE_INT, false, -7, -7, ""},
      {"double", [](CefListValue& l) { l.SetDouble(0, 2.9); }, VTYPE_DOUBLE, false, 2, 2.9, ""},
      {"negative double", [](CefListValue& l) { l.SetDouble(0, -2.9); }, VTYPE_DOUBLE, false, -2,
       -2.9, ""},
      {"double past 2^32", [](CefListValue& l) { l.SetDouble(0, 4294967298.5); }, VTYPE_DOUBLE,
       false, 2, 4294967298.5, ""},
      {"double past 2^31", [](CefListValue& l) { l.SetDouble(0, 2147483648.0); }, VTYPE_DOUBLE,
       false, -2147483647 - 1, 2147483648.0, ""},
      {"NaN", [](CefListValue& l) { l.SetDouble(0, std::nan("")); }, VTYPE_DOUBLE, false, 0,
       std::nan(""), ""},
      {"infinity", [](CefListValue& l) { l.SetDouble(0, std::numeric_limits<double>::infinity()); },
       VTYPE_DOUBLE, false, 0, std::numeric_limits<double>::infinity(), ""},
      {"numeric string", [](CefListValue& l) { l.SetString(0, "12"); }, VTYPE_STRING, false, 0, 0,
       "12"},
      {"binary", [&](CefListValue& l) { l.SetBinary(0, CefBinaryValue::Create(bytes, 3)); },
       VTYPE_BINARY, false, 0, 0, ""},
      {"dictionary", [](CefListValue& l) { l.SetDictionary(0, CefDictionaryValue::Create()); },
       VTYPE_DICTIONARY, false, 0, 0, ""},
      {"list", [](CefListValue& l) { l.SetList(0, ListOf({1})); }, VTYPE_LIST, false, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CefRefPtr<CefListValue> list = CefListValue::Create();
    c.store(*list);
    EXPECT_EQ(list->GetType(0), c.type);
    EXPECT_EQ(list->GetBool(0), c.asBool);
    EXPECT_EQ(list->GetInt(0), c.asInt);
    if (std::isnan(c.asDouble)) {
      EXPECT_TRUE(std::isnan(list->GetDouble(0)));
    } else {
      EXPECT_EQ(list->GetDouble(0), c.asDouble);
    }
    EXPECT_EQ(list->GetString(0).ToString(), c.asString);
    EXPECT_EQ(list->GetBinary(0) != nullptr, c.type == VTYPE_BINARY);
    EXPECT_EQ(list->GetDictionary(0) != nullptr, c.type == VTYPE_DICTIONARY);
    EXPECT_EQ(list->GetList(0) != nullptr, c.type == VTYPE_LIST);
  }
}

TEST(CefListValue, GrowsShrinksAndRefusesBadIndexes) {
  CefRefPtr<CefListValue> list = CefListValue::Create();
  EXPECT_TRUE(list->SetString(3, "四"));
  ASSERT_EQ(list->GetSize(), 4u);
  EXPECT_EQ(list->GetType(0), VTYPE_NULL);  // the gap is filled with nulls
  EXPECT_EQ(list->GetString(3).ToWString(), L"\x56DB");

  EXPECT_FALSE(list->SetInt(-1, 1));
  EXPECT_EQ(list->GetType(-1), VTYPE_INVALID);
  EXPECT_EQ(list->GetType(4), VTYPE_INVALID);
  EXPECT_EQ(list->GetValue(4), nullptr);
  EXPECT_EQ(list->GetInt(4), 0);
  EXPECT_FALSE(list->Remove(4));

  list->SetInt(1, 11);
  EXPECT_TRUE(list->Remove(0));  // later entries move up
  EXPECT_EQ(list->GetInt(0), 11);
  EXPECT_EQ(list->GetSize(), 3u);
  EXPECT_TRUE(list->SetSize(1));
  EXPECT_EQ(list->GetType(1), VTYPE_INVALID);
  EXPECT_TRUE(list->SetSize(2));
  EXPECT_EQ(list->GetType(1), VTYPE_NULL);
  EXPECT_TRUE(list->Clear());
  EXPECT_EQ(list->GetSize(), 0u);
}

TEST(CefListValue, StoresCopiesAndHandsOutWhatItHolds) {
  CefRefPtr<CefListValue> parent = CefListValue::Create();
  CefRefPtr<CefListValue> child = ListOf({1, 2});
  parent->SetList(0, child);
  child->SetInt(0, 100);  // the caller's list is not the stored one
  EXPECT_FALSE(child->IsOwned());

  CefRefPtr<CefListValue> stored = parent->GetList(0);
  EXPECT_TRUE(stored->IsOwned());
  EXPECT_EQ(stored->GetInt(0), 1);
  stored->SetInt(1, 20);  // changes through it reach the parent
  EXPECT_EQ(parent->GetList(0)->GetInt(1), 20);
  EXPECT_TRUE(parent->GetList(0)->IsSame(stored));

  // A list stored in itself is stored as it was, without a cycle.
  parent->SetList(1, parent);
  EXPECT_EQ(parent->GetList(1)->GetSize(), 1u);
  EXPECT_EQ(parent->GetList(1)->GetList(0)->GetInt(1), 20);
}

TEST(CefListValue, CopiesAreDeepAndCompareByContent) {
  CefRefPtr<CefListValue> original = CefListValue::Create();
  original->SetList(0, ListOf({1, 2}));
  original->SetString(1, "text");
  CefRefPtr<CefListValue> copy = original->Copy();
  EXPECT_TRUE(copy->IsEqual(original));
  EXPECT_FALSE(copy->IsSame(original));
  EXPECT_FALSE(copy->IsOwned());

  copy->GetList(0)->SetInt(0, 9);
  EXPECT_EQ(original->GetList(0)->GetInt(0), 1);
  EXPECT_FALSE(copy->IsEqual(original));

  // Equal content of another type is not equal.
  CefRefPtr<CefListValue> ints = ListOf({1});
  CefRefPtr<CefListValue> doubles = CefListValue::Create();
  doubles->SetDouble(0, 1.0);
  EXPECT_FALSE(ints->IsEqual(doubles));
}

TEST(CefValue, SimpleValuesAreCopiesAndContainersReferences) {
  CefRefPtr<CefValue> value = CefValue::Create();
  EXPECT_EQ(value->GetType(), VTYPE_NULL);

  CefRefPtr<CefListValue> list = CefListValue::Create();
  list->SetInt(0, 5);
  list->SetList(1, ListOf({7}));
  CefRefPtr<CefValue> number = list->GetValue(0);
  number->SetInt(6);
  EXPECT_EQ(list->GetInt(0), 5);

  CefRefPtr<CefValue> inner = list->GetValue(1);
  inner->GetList()->SetInt(0, 8);
  EXPECT_EQ(list->GetList(1)->GetInt(0), 8);
  EXPECT_TRUE(inner->IsSame(list->GetValue(1)));
  EXPECT_FALSE(number->IsSame(list->GetValue(0)));
  EXPECT_TRUE(number->IsEqual(number->Copy()));

  EXPECT_TRUE(list->SetValue(2, inner));  // stores a copy
  inner->GetList()->SetInt(0, 9);
  EXPECT_EQ(list->GetList(2)->GetInt(0), 8);
  EXPECT_FALSE(list->SetValue(3, nullptr));
}

TEST(CefDictionaryValue, KeysAreSortedAndEmptyChildrenCanBeLeftOut) {
  CefRefPtr<CefDictionaryValue> dictionary = CefDictionaryValue::Create();
  dictionary->SetInt("b", 2);
  dictionary->SetString("a", "one");
  dictionary->SetInt("b", 3);  // replaces
  dictionary->SetList("empty list", CefListValue::Create());
  CefRefPtr<CefDictionaryValue> nested = CefDictionaryValue::Create();
  nested->SetDictionary("empty", CefDictionaryValue::Create());
  dictionary->SetDictionary("only empty inside", nested);

  CefDictionaryValue::KeyList keys;
  dictionary->GetKeys(keys);
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].ToString(), "a");
  EXPECT_EQ(keys[1].ToString(), "b");
  EXPECT_EQ(dictionary->GetInt("b"), 3);
  EXPECT_EQ(dictionary->GetType("missing"), VTYPE_INVALID);
  EXPECT_EQ(dictionary->GetValue("missing"), nullptr);
  EXPECT_FALSE(dictionary->Remove("missing"));

  CefRefPtr<CefDictionaryValue> trimmed = dictionary->Copy(true);
  trimmed->GetKeys(keys);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].ToString(), "b");
  EXPECT_EQ(dictionary->Copy(false)->GetSize(), 4u);
  EXPECT_TRUE(dictionary->Copy(false)->IsEqual(dictionary));

  EXPECT_TRUE(dictionary->Remove("a"));
  EXPECT_FALSE(dictionary->HasKey("a"));
}

TEST(CefBinaryValue, CopiesItsBytesAndReadsFromAnOffset) {
  unsigned char bytes[] = {10, 20, 30, 40};
  CefRefPtr<CefBinaryValue> binary = CefBinaryValue::Create(bytes, sizeof(bytes));
  bytes[0] = 0;
  unsigned char out[3] = {};
  EXPECT_EQ(binary->GetData(out, sizeof(out), 0), 3u);
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(binary->GetData(out, sizeof(out), 2), 2u);
  EXPECT_EQ(out[0], 30);
  EXPECT_EQ(out[1], 40);
  EXPECT_EQ(binary->GetData(out, sizeof(out), 4), 0u);
  EXPECT_EQ(CefBinaryValue::Create(nullptr, 4), nullptr);
  EXPECT_TRUE(binary->Copy()->IsEqual(binary));
  EXPECT_FALSE(binary->Copy()->IsSame(binary));
}

TEST(CefProcessMessage, CarriesANameAndItsOwnArguments) {
  CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create("setTitleText");
  EXPECT_EQ(message->GetName().ToString(), "setTitleText");
  EXPECT_TRUE(message->IsValid());
  EXPECT_FALSE(message->IsReadOnly());
  CefRefPtr<CefListValue> arguments = message->GetArgumentList();
  EXPECT_TRUE(arguments->IsOwned());
  EXPECT_EQ(arguments->GetSize(), 0u);
  arguments->SetSize(2);
  arguments->SetString(0, "标题");
  arguments->SetInt(1, 255);
  EXPECT_EQ(message->GetArgumentList()->GetString(0).ToWString(), L"\x6807\x9898");

  CefRefPtr<CefProcessMessage> copy = message->Copy();
  copy->GetArgumentList()->SetInt(1, 0);
  EXPECT_EQ(message->GetArgumentList()->GetInt(1), 255);
  EXPECT_EQ(copy->GetName().ToString(), "setTitleText");
}

TEST(CefProcessMessage, ADeliveredMessageIsReadOnlyAllTheWayDown) {
  CefRefPtr<engine::CefProcessMessageImpl> message =
      new engine::CefProcessMessageImpl("setTitleColor");
  CefRefPtr<CefListValue> arguments = message->GetArgumentList();
  arguments->SetInt(0, 1);
  arguments->SetList(1, ListOf({2}));
  CefRefPtr<CefDictionaryValue> dictionary = CefDictionaryValue::Create();
  dictionary->SetInt("k", 3);
  arguments->SetDictionary(2, dictionary);
  message->SetReadOnly();

  EXPECT_TRUE(message->IsReadOnly());
  EXPECT_TRUE(arguments->IsReadOnly());
  EXPECT_FALSE(arguments->SetInt(0, 9));
  EXPECT_FALSE(arguments->SetSize(0));
  EXPECT_FALSE(arguments->Remove(0));
  EXPECT_FALSE(arguments->Clear());
  EXPECT_FALSE(arguments->GetList(1)->SetInt(0, 9));
  EXPECT_FALSE(arguments->GetDictionary(2)->SetInt("k", 9));
  EXPECT_FALSE(arguments->GetValue(0)->SetInt(9));
  EXPECT_EQ(arguments->GetInt(0), 1);
  EXPECT_EQ(arguments->GetList(1)->GetInt(0), 2);
  EXPECT_EQ(arguments->GetDictionary(2)->GetInt("k"), 3);

  // A copy is the receiver's to change.
  CefRefPtr<CefProcessMessage> copy = message->Copy();
  EXPECT_FALSE(copy->IsReadOnly());
  EXPECT_TRUE(copy->GetArgumentList()->SetInt(0, 9));
  EXPECT_TRUE(copy->GetArgumentList()->GetList(1)->SetInt(0, 9));
  EXPECT_EQ(arguments->GetList(1)->GetInt(0), 2);
}

}  // namespace
