#include "toolkit/controls/Markup.h"

#include "MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;
using test::DumpDocument;
using test::ErrorLocation;
using test::ErrorMessage;

struct TreeCase {
  const char* name;
  const wchar_t* document;
  const wchar_t* tree;
};

TEST(MarkupParse, DocumentsAndTheTreesTheyGive) {
  const TreeCase cases[] = {
      {"empty element with attributes", L"<Window a=\"1\" b=\"x&amp;y\"/>", L"Window{a=1,b=x&y}"},
      {"entities in text", L"<a>hello &lt;b&gt;</a>", L"a\"hello <b>\""},
      {"all five entities", L"<a v=\"&amp;&lt;&gt;&quot;&apos;\">&amp;&lt;&gt;&quot;&apos;</a>",
       L"a{v=&<>\"'}\"&<>\"'\""},
      {"stray ampersands stay", L"<a v=\"a&b &#65; &amp\">a&b &#65; &am;p</a>",
       L"a{v=a&b &#65; &amp}\"a&b &#65; &am;p\""},
      {"space before the end tag's >", L"<a>x</a >", L"a\"x\""},
      {"space after </", L"<a>x</ a>", L"a\"x\""},
      {"comment before the root", L"<!-- c --><a/>", L"a"},
      {"declaration before the root", L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<a/>", L"a"},
      {"comment inside", L"<a><!-- <b/> --><c/></a>", L"a(c)"},
      {"comment ends at its first ->", L"<!-- a -> <b/><c/>", L"b c"},
      {"other <! constructs run to ->", L"<!DOCTYPE x -><a/>", L"a"},
      {"missing end tag of the root", L"<Window><Font name=\"x\"/>", L"Window(Font{name=x})"},
      {"root text at the end", L"<a>x&amp;y", L"a\"x&y\""},
      {"children of the root at the end", L"<a><b>text", L"a(b\"text\")"},
      {"children and siblings", L"<a><b/><c>t</c><d x=\"1\"/></a>", L"a(b c\"t\" d{x=1})"},
      {"top-level siblings", L"<a/><b>t</b>\n<c/>", L"a b\"t\" c"},
      {"text before children", L"<a>x&amp;y<b/></a>", L"a\"x&y\"(b)"},
      {"nested text", L"<a>t<b>u<c>v</c></b></a>", L"a\"t\"(b\"u\"(c\"v\"))"},
      {"single quotes inside values", L"<a image=\"file='a.png' corner='1,2,3,4'\"/>",
       L"a{image=file='a.png' corner='1,2,3,4'}"},
      {"blanks around =", L"<a x = \"1\"\n\ty\t=\t\"2\" />", L"a{x=1,y=2}"},
      {"blanks before />", L"<a   />", L"a"},
      {"blanks before >", L"<a \n >t</a>", L"a\"t\""},
      {"line break after the name", L"<a\nx=\"1\"/>", L"a{x=1}"},
      {"compact empty element", L"<a><b/><c/></a>", L"a(b c)"},
      {"attributes without blanks between", L"<a x=\"1\"y=\"2\"/>", L"a{x=1,y=2}"},
      {"shortened value before another", L"<a x=\"&lt;&gt;\" y=\"&amp;\"/>", L"a{x=<>,y=&}"},
      {"shortened last value before >", L"<a x=\"&quot;q&quot;\">t</a>", L"a{x=\"q\"}\"t\""},
      {"empty value", L"<a x=\"\" y=\"2\"/>", L"a{x=,y=2}"},
      {"markup characters in values", L"<a x=\"<b>/>\"/>", L"a{x=<b>/>}"},
      {"> in text", L"<a>1 > 0</a>", L"a\"1 > 0\""},
      {"identifier characters", L"<ns:Item_2 x_1:y=\"v\"/>", L"ns:Item_2{x_1:y=v}"},
      {"letters of other scripts", L"<\u7A97\u53E3 \u540D=\"\u503C\"/>",
       L"\u7A97\u53E3{\u540D=\u503C}"},
      {"whitespace is kept", L"<a>  two  spaces\t\r\n</a>", L"a\"  two  spaces\t\r\n\""},
      {"an end tag at the top ends the parse", L"<a/></b> junk", L"a"},
      {"text of an empty element is empty", L"<a></a>", L"a"},
  };
  for (const TreeCase& c : cases) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(c.document))
        << c.name << ": " << testing::PrintToString(ErrorMessage(markup));
    EXPECT_EQ(std::wstring(c.tree), DumpDocument(markup)) << c.name;
    EXPECT_EQ(L"", ErrorMessage(markup)) << c.name;
  }
}

TEST(MarkupParse, RunsOfEveryLengthEndWhereTheyShould) {
  // Plain text is passed eight units at a time where the processor allows:
  // whatever ends a run (the closing quote, '<', an entity, a collapsed
  // space, the end of the text) must be found at every offset in such a
  // block, and so must the text's end close behind it.
  for (size_t length = 0; length < 26; ++length) {
    std::wstring run;
    for (size_t i = 0; i < length; ++i) run += static_cast<wchar_t>(L'a' + i % 26);
    SCOPED_TRACE(length);
    CMarkup markup;
    ASSERT_TRUE(markup.Load((L"<a v=\"" + run + L"\" w=\"" + run + L"&amp;" + run + L"\">" + run +
                             L"&lt;" + run + L"<b/></a>")
                                .c_str()));
    EXPECT_EQ(run, markup.GetRoot().GetAttributeValue(L"v"));
    EXPECT_EQ(run + L"&" + run, markup.GetRoot().GetAttributeValue(L"w"));
    EXPECT_EQ(run + L"<" + run, markup.GetRoot().GetValue());

    ASSERT_TRUE(markup.Load((L"<a>" + run).c_str()));
    EXPECT_EQ(run, markup.GetRoot().GetValue());
    EXPECT_FALSE(markup.Load((L"<a v=\"" + run).c_str()));
    EXPECT_EQ(L"Error while parsing attribute string", ErrorMessage(markup));

    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.Load(
        (L"<a v=\"" + run + L"   " + run + L"\">" + run + L" \t " + run + L"</a>").c_str()));
    EXPECT_EQ(run + L" " + run, markup.GetRoot().GetAttributeValue(L"v"));
    EXPECT_EQ(run + L" " + run, markup.GetRoot().GetValue());
  }
}

TEST(MarkupParse, NamesOfEveryLengthEndWhereTheyShould) {
  // Names are passed eight units at a time too: every identifier character
  // must be taken at every offset, letters of other scripts included, and
  // the characters just beside the ASCII ranges must end a name.
  const std::wstring characters = L"aZ09_:mzA";
  for (size_t length = 0; length < 26; ++length) {
    std::wstring name;
    for (size_t i = 0; i < length; ++i) name += characters[i % characters.size()];
    SCOPED_TRACE(length);
    const std::wstring wide = name + L"\u540D" + name;
    CMarkup markup;
    ASSERT_TRUE(markup.Load((L"<e" + name + L" x" + name + L"=\"1\" y" + wide + L"=\"2\"><f" +
                             wide + L"/></e" + name + L">")
                                .c_str()))
        << testing::PrintToString(ErrorMessage(markup));
    EXPECT_EQ(L"e" + name, markup.GetRoot().GetName());
    EXPECT_EQ(L"x" + name, markup.GetRoot().GetAttributeName(0));
    EXPECT_EQ(L"y" + wide, markup.GetRoot().GetAttributeName(1));
    EXPECT_EQ(L"f" + wide, markup.GetRoot().GetChild().GetName());
    for (const wchar_t* stop : {L"/", L"@", L"[", L"`", L"{", L"-", L";", L"\u3000"}) {
      const std::wstring rest = std::wstring(stop) + L"=\"1\"/>";
      EXPECT_FALSE(markup.Load((L"<a x" + name + rest).c_str()));
      EXPECT_EQ(L"Error while parsing attributes", ErrorMessage(markup));
      EXPECT_EQ(rest, ErrorLocation(markup));
    }
  }
}

TEST(MarkupParse, DocumentsWithoutElementsLoadWithoutARoot) {
  for (const wchar_t* document :
       {L"", L"   \r\n\t ", L"<!-- only a comment -->", L"<?xml version=\"1.0\"?>\n", L"</a>"}) {
    CMarkup markup;
    EXPECT_TRUE(markup.Load(document)) << testing::PrintToString(std::wstring(document));
    EXPECT_TRUE(markup.IsValid());
    EXPECT_FALSE(markup.GetRoot().IsValid());
  }
}

TEST(MarkupParse, WhitespaceRunsCollapseWhenNotPreserved) {
  CMarkup markup;
  markup.SetPreserveWhitespace(false);
  ASSERT_TRUE(markup.Load(L"<a v=\"x  \t y\">  two  spaces\t tab </a>"));
  const CMarkupNode root = markup.GetRoot();
  // Only a space starts a run; a tab on its own is kept.
  EXPECT_STREQ(L" two spaces\t tab ", root.GetValue());
  EXPECT_STREQ(L"x y", root.GetAttributeValue(L"v"));
}

struct ErrorCase {
  const char* name;
  const wchar_t* document;
  const wchar_t* message;
  const wchar_t* location;
};

TEST(MarkupParse, EveryErrorWithItsLocation) {
  const ErrorCase cases[] = {
      {"text after a child", L"<a>text<b x=\"1\"/>more</a>", L"Expected start tag", L"more</a>"},
      {"text at the top level", L"hello<a/>", L"Expected start tag", L"hello<a/>"},
      {"text after the root", L"<a/> tail", L"Expected start tag", L"tail"},
      {"unclosed nested element", L"<a><b><c/>", L"Expected start tag", L""},
      {"unclosed nested comment", L"<a><b><!-- x", L"Expected start tag", L""},
      {"name at the end", L"<a><b", L"Error parsing element name", L""},
      {"name alone", L"<Window", L"Error parsing element name", L""},
      {"attribute without =", L"<a x \"1\"/>", L"Error while parsing attributes", L"\"1\"/>"},
      {"attribute at the end", L"<a x", L"Error while parsing attributes", L""},
      {"hyphen in a name", L"<a data-x=\"1\"/>", L"Error while parsing attributes", L"-x=\"1\"/>"},
      {"single-quoted value", L"<a x='1'/>", L"Expected attribute value", L"'1'/>"},
      {"unquoted value", L"<a x=1/>", L"Expected attribute value", L"1/>"},
      {"value at the end", L"<a x=\"1/>", L"Error while parsing attribute string", L""},
      {"no closing of the start tag", L"<a x=\"1\" / >", L"Expected start-tag closing", L"/ >"},
      {"start tag at the end", L"<a x=\"1\"", L"Expected start-tag closing", L""},
      {"nested text at the end", L"<a><b><c>text", L"Expected end-tag start", L""},
      {"different end tag", L"<a></b>", L"Unmatched closing tag", L"b>"},
      {"shorter end tag", L"<Window></Win>", L"Unmatched closing tag", L"Win>"},
      {"longer end tag", L"<Win></Window>", L"Unmatched closing tag", L"dow>"},
      {"end tag without >", L"<a></a", L"Unmatched closing tag", L""},
      {"end tag with junk", L"<a></a x>", L"Unmatched closing tag", L"x>"},
      {"nested mismatch", L"<a><b></a></b>", L"Unmatched closing tag", L"a></b>"},
  };
  for (const ErrorCase& c : cases) {
    CMarkup markup;
    EXPECT_FALSE(markup.Load(c.document)) << c.name;
    EXPECT_EQ(std::wstring(c.message), ErrorMessage(markup)) << c.name;
    EXPECT_EQ(std::wstring(c.location), ErrorLocation(markup)) << c.name;
    EXPECT_FALSE(markup.IsValid()) << c.name;
    EXPECT_FALSE(markup.GetRoot().IsValid()) << c.name;
  }
}

TEST(MarkupParse, TheLocationKeepsFortyNineCharacters) {
  std::wstring tail;
  for (int i = 0; i < 80; ++i) tail += static_cast<wchar_t>(L'A' + i % 26);
  CMarkup markup;
  EXPECT_FALSE(markup.Load((L"<a/>" + tail).c_str()));
  EXPECT_EQ(tail.substr(0, 49), ErrorLocation(markup));

  // Callers' buffers are filled up to their size, terminated.
  wchar_t small[6];
  markup.GetLastErrorLocation(small, 6);
  EXPECT_STREQ(L"ABCDE", small);
  markup.GetLastErrorMessage(small, 6);
  EXPECT_STREQ(L"Expec", small);
  wchar_t untouched[2] = {L'x', L'\0'};
  markup.GetLastErrorMessage(untouched, 0);
  EXPECT_STREQ(L"x", untouched);
  markup.GetLastErrorMessage(nullptr, 10);
}

TEST(MarkupParse, ErrorsAreClearedByTheNextLoad) {
  CMarkup markup;
  EXPECT_FALSE(markup.Load(L"<a></b>"));
  EXPECT_EQ(L"Unmatched closing tag", ErrorMessage(markup));
  EXPECT_TRUE(markup.Load(L"<a/>"));
  EXPECT_EQ(L"", ErrorMessage(markup));
  EXPECT_EQ(L"", ErrorLocation(markup));
}

TEST(MarkupParse, ReleaseAndReloadEmptyTheDocument) {
  CMarkup markup(L"<a><b/></a>");
  EXPECT_TRUE(markup.IsValid());
  EXPECT_STREQ(L"a", markup.GetRoot().GetName());
  EXPECT_TRUE(markup.Load(L"<c/>"));
  EXPECT_STREQ(L"c", markup.GetRoot().GetName());
  EXPECT_FALSE(markup.GetRoot().HasChildren());
  markup.Release();
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.GetRoot().IsValid());
  EXPECT_TRUE(markup.Load(L"<a/>"));
  EXPECT_FALSE(markup.Load(L"<a><b><c>"));
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.Load(nullptr));
  EXPECT_FALSE(CMarkup().IsValid());
}

TEST(MarkupParse, TheCallersTextIsCopiedNotChanged) {
  const std::wstring document = L"<a x=\"&amp;\">t</a>";
  std::wstring copy = document;
  CMarkup markup(copy.c_str());
  ASSERT_TRUE(markup.IsValid());
  EXPECT_EQ(document, copy);
  copy[1] = L'z';
  EXPECT_STREQ(L"a", markup.GetRoot().GetName());
}

TEST(MarkupNode, NavigationAndLookups) {
  CMarkup markup(
      L"<Window size=\"400,300\"><Font name=\"Arial\"/><VerticalLayout>"
      L"<Button name=\"ok\"/><Label text=\"hi\"/><Button "
      L"name=\"cancel\"/></VerticalLayout></Window>");
  const CMarkupNode root = markup.GetRoot();
  ASSERT_TRUE(root.IsValid());
  EXPECT_FALSE(root.GetParent().IsValid());
  EXPECT_FALSE(root.HasSiblings());
  EXPECT_TRUE(root.HasChildren());

  const CMarkupNode layout = root.GetChild(L"VerticalLayout");
  ASSERT_TRUE(layout.IsValid());
  EXPECT_STREQ(L"Window", layout.GetParent().GetName());
  EXPECT_FALSE(root.GetChild(L"verticallayout").IsValid());
  EXPECT_FALSE(root.GetChild(L"Button").IsValid());  // children only, not deeper
  EXPECT_FALSE(root.GetChild(nullptr).IsValid());
  EXPECT_STREQ(L"ok", layout.GetChild(L"Button").GetAttributeValue(L"name"));
  EXPECT_STREQ(L"Font", root.GetChild().GetName());
  EXPECT_TRUE(root.GetChild().HasSiblings());
  EXPECT_FALSE(layout.HasSiblings());
  EXPECT_FALSE(layout.GetSibling().IsValid());
  const CMarkupNode label = layout.GetChild().GetSibling();
  EXPECT_STREQ(L"Label", label.GetName());
  EXPECT_FALSE(label.HasChildren());
  EXPECT_FALSE(label.GetChild().IsValid());
  EXPECT_FALSE(label.GetChild(L"x").IsValid());
}

TEST(MarkupNode, AttributeAccess) {
  CMarkup markup(L"<a first=\"1\" second=\"two words\" first=\"again\"/>");
  const CMarkupNode node = markup.GetRoot();
  EXPECT_TRUE(node.HasAttributes());
  EXPECT_EQ(3, node.GetAttributeCount());
  EXPECT_STREQ(L"second", node.GetAttributeName(1));
  EXPECT_STREQ(L"two words", node.GetAttributeValue(1));
  EXPECT_STREQ(L"1", node.GetAttributeValue(L"first"));  // the first of that name
  EXPECT_STREQ(L"", node.GetAttributeValue(L"third"));
  EXPECT_STREQ(L"", node.GetAttributeValue(L"First"));
  EXPECT_STREQ(L"", node.GetAttributeName(3));
  EXPECT_STREQ(L"", node.GetAttributeName(-1));
  EXPECT_STREQ(L"", node.GetAttributeValue(3));
  EXPECT_STREQ(L"", node.GetAttributeValue(static_cast<const wchar_t*>(nullptr)));
  EXPECT_TRUE(node.HasAttribute(L"second"));
  EXPECT_FALSE(node.HasAttribute(L"secon"));
  EXPECT_FALSE(node.HasAttribute(nullptr));

  wchar_t buffer[5];
  EXPECT_TRUE(node.GetAttributeValue(L"second", buffer, 5));
  EXPECT_STREQ(L"two ", buffer);
  EXPECT_TRUE(node.GetAttributeValue(0, buffer, 5));
  EXPECT_STREQ(L"1", buffer);
  EXPECT_FALSE(node.GetAttributeValue(L"third", buffer, 5));
  EXPECT_FALSE(node.GetAttributeValue(7, buffer, 5));
  EXPECT_FALSE(node.GetAttributeValue(0, buffer, 0));

  CMarkup bare(L"<a>t</a>");
  EXPECT_FALSE(bare.GetRoot().HasAttributes());
  EXPECT_EQ(0, bare.GetRoot().GetAttributeCount());
  EXPECT_STREQ(L"", bare.GetRoot().GetAttributeValue(L"x"));
}

TEST(MarkupNode, AnInvalidHandleAnswersNull) {
  const CMarkupNode node;
  EXPECT_FALSE(node.IsValid());
  EXPECT_EQ(nullptr, node.GetName());
  EXPECT_EQ(nullptr, node.GetValue());
  EXPECT_EQ(nullptr, node.GetAttributeName(0));
  EXPECT_EQ(nullptr, node.GetAttributeValue(0));
  EXPECT_EQ(nullptr, node.GetAttributeValue(L"x"));
  EXPECT_FALSE(node.HasAttributes());
  EXPECT_FALSE(node.HasAttribute(L"x"));
  EXPECT_EQ(0, node.GetAttributeCount());
  EXPECT_FALSE(node.HasChildren());
  EXPECT_FALSE(node.HasSiblings());
  EXPECT_FALSE(node.GetParent().IsValid());
  EXPECT_FALSE(node.GetChild().IsValid());
  EXPECT_FALSE(node.GetChild(L"x").IsValid());
  EXPECT_FALSE(node.GetSibling().IsValid());
  wchar_t buffer[4] = L"abc";
  EXPECT_FALSE(node.GetAttributeValue(0, buffer, 4));
  EXPECT_FALSE(node.GetAttributeValue(L"x", buffer, 4));
  EXPECT_STREQ(L"abc", buffer);
}

TEST(MarkupNode, OnlySixtyFourAttributesAreVisible) {
  std::wstring document = L"<Button";
  for (int i = 0; i < 70; ++i)
    document += L" a" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
  document += L"/>";
  CMarkup markup(document.c_str());
  const CMarkupNode node = markup.GetRoot();
  ASSERT_TRUE(node.IsValid());
  EXPECT_EQ(64, node.GetAttributeCount());
  EXPECT_STREQ(L"a63", node.GetAttributeName(63));
  EXPECT_STREQ(L"v63", node.GetAttributeValue(L"a63"));
  EXPECT_STREQ(L"", node.GetAttributeValue(L"a64"));
  EXPECT_FALSE(node.HasAttribute(L"a69"));
  EXPECT_STREQ(L"", node.GetAttributeName(64));
}

TEST(MarkupNode, EachHandleMapsItsOwnAttributes) {
  CMarkup markup(L"<a x=\"1\"><b y=\"2\" z=\"3\"/></a>");
  const CMarkupNode root = markup.GetRoot();
  const CMarkupNode child = root.GetChild();
  EXPECT_EQ(2, child.GetAttributeCount());
  EXPECT_EQ(1, root.GetAttributeCount());
  const CMarkupNode copy = child;  // copied after mapping
  EXPECT_STREQ(L"3", copy.GetAttributeValue(L"z"));
  EXPECT_STREQ(L"1", root.GetAttributeValue(L"x"));
}

TEST(MarkupParse, LargeTablesAndDeepNesting) {
  // The record table's first block is sized from the text's length for
  // documents like skin files; one packed far denser with elements and
  // attributes (a record for every six units) fills several blocks.
  // Elements with every number of attributes, past the sixty-four visible
  // ones too, meet the blocks' borders: links, attribute records and the
  // cut after the sixty-fourth must all hold across them.
  std::wstring wide = L"<List>";
  for (int i = 0; i < 5000; ++i) {
    wide += L"<Item n=\"" + std::to_wstring(i) + L"\" b=\"&lt;\"";
    for (int extra = 0; extra < i % 70; ++extra) wide += L" x=\"\"";
    wide += i % 2 == 0 ? L"/>" : L"></Item>";
  }
  wide += L"</List>";
  CMarkup markup;
  ASSERT_TRUE(markup.Load(wide.c_str()));
  int count = 0;
  for (CMarkupNode item = markup.GetRoot().GetChild(); item.IsValid(); item = item.GetSibling()) {
    ASSERT_STREQ(L"Item", item.GetName());
    ASSERT_EQ(std::min(2 + count % 70, 64), item.GetAttributeCount()) << count;
    ASSERT_EQ(std::to_wstring(count), item.GetAttributeValue(L"n"));
    ASSERT_STREQ(L"<", item.GetAttributeValue(1));
    ASSERT_STREQ(count % 70 == 0 ? L"b" : L"x",
                 item.GetAttributeName(item.GetAttributeCount() - 1));
    ASSERT_STREQ(L"List", item.GetParent().GetName());
    ASSERT_FALSE(item.HasChildren());
    ++count;
  }
  EXPECT_EQ(5000, count);

  // Nesting far deeper than any thread stack would allow for recursion.
  const int depth = 200000;
  std::wstring deep;
  for (int i = 0; i < depth; ++i) deep += L"<d>";
  deep += L"x";
  for (int i = 0; i < depth; ++i) deep += L"</d>";
  ASSERT_TRUE(markup.Load(deep.c_str())) << testing::PrintToString(ErrorMessage(markup));
  CMarkupNode node = markup.GetRoot();
  int levels = 1;
  while (node.HasChildren()) {
    node = node.GetChild();
    ++levels;
  }
  EXPECT_EQ(depth, levels);
  EXPECT_STREQ(L"x", node.GetValue());
  EXPECT_STREQ(L"d", node.GetParent().GetName());
}

}  // namespace
