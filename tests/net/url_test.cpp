#include <gtest/gtest.h>

#include "net/string_stack.h"
#include "net/url.h"
#include "tests/net/string_printer.h"

namespace {

c_Url* Parse(const char* text) { return (new c_Url)->m_new(String(text), String("http"), 80); }

}  // namespace

TEST(Url, EveryPartOfAFullUrl) {
    c_Url* url = Parse("s://h:8080/a/b?x=1#top");
    EXPECT_EQ(url->p_Scheme(), String("s"));
    EXPECT_EQ(url->p_Domain(), String("h"));
    EXPECT_EQ(url->p_Port(), 8080);
    EXPECT_EQ(url->p_Path(), String("/a/b"));
    EXPECT_EQ(url->p_Query(), String("x=1"));
    EXPECT_EQ(url->p_Fragment(), String("top"));
    EXPECT_EQ(url->p_FullPath(), String("/a/b?x=1#top"));
    EXPECT_EQ(url->p_Text(), String("s://h:8080/a/b?x=1#top"));
}

TEST(Url, ABareHostTakesTheDefaults) {
    c_Url* url = Parse("h");
    EXPECT_EQ(url->p_Scheme(), String("http"));
    EXPECT_EQ(url->p_Domain(), String("h"));
    EXPECT_EQ(url->p_Port(), 80);
    EXPECT_EQ(url->p_Path(), String("/"));
    EXPECT_EQ(url->p_FullPath(), String("/"));
}

TEST(Url, UserAndPassword) {
    c_Url* url = Parse("s://u:pw@h/");
    EXPECT_EQ(url->p_Username(), String("u"));
    EXPECT_EQ(url->p_Password(), String("pw"));
    EXPECT_EQ(url->p_Domain(), String("h"));
    EXPECT_EQ(url->p_Path(), String("/"));

    c_Url* userOnly = Parse("s://u@h:81");
    EXPECT_EQ(userOnly->p_Username(), String("u"));
    EXPECT_TRUE(userOnly->p_Password().IsEmpty());
    EXPECT_EQ(userOnly->p_Domain(), String("h"));
    EXPECT_EQ(userOnly->p_Port(), 81);
}

TEST(Url, AQuestionMarkAfterTheHashBelongsToTheFragment) {
    c_Url* url = Parse("s://h/p#frag?x");
    EXPECT_TRUE(url->p_Query().IsEmpty());
    EXPECT_EQ(url->p_Fragment(), String("frag?x"));
    EXPECT_EQ(url->p_Path(), String("/p"));
    EXPECT_EQ(url->p_FullPath(), String("/p#frag?x"));
}

TEST(Url, PortsReadLikeAtoi) {
    EXPECT_EQ(Parse("s://h:abc/")->p_Port(), 0);
    EXPECT_EQ(Parse("s://h:12ab/")->p_Port(), 12);
    EXPECT_EQ(Parse("s://h: 7/")->p_Port(), 7);
    EXPECT_EQ(Parse("h:")->p_Port(), 0);
}

TEST(Url, SeparatorsAfterTheAuthorityAndPathDoNotCount) {
    // "://", "@" and ":" inside the query are not scheme, user or port.
    c_Url* url = Parse("h/p?next=s://u@x:9");
    EXPECT_EQ(url->p_Scheme(), String("http"));
    EXPECT_EQ(url->p_Domain(), String("h"));
    EXPECT_EQ(url->p_Port(), 80);
    EXPECT_TRUE(url->p_Username().IsEmpty());
    EXPECT_EQ(url->p_Path(), String("/p"));
    EXPECT_EQ(url->p_Query(), String("next=s://u@x:9"));
}

TEST(Url, QueryWithoutPathAndAColonInThePath) {
    c_Url* url = Parse("http://127.0.0.1:8000?hello=1&gameID=415");
    EXPECT_EQ(url->p_Domain(), String("127.0.0.1"));
    EXPECT_EQ(url->p_Port(), 8000);
    EXPECT_EQ(url->p_FullPath(), String("/?hello=1&gameID=415"));

    c_Url* colonInPath = Parse("h/a:b");
    EXPECT_EQ(colonInPath->p_Domain(), String("h"));
    EXPECT_EQ(colonInPath->p_Port(), 80);
    EXPECT_EQ(colonInPath->p_Path(), String("/a:b"));
}

TEST(Url, SettingAgainStartsFromTheDefaults) {
    c_Url* url = Parse("s://u:p@h:1/x?q#f");
    url->p_Set2(String("other"));
    EXPECT_EQ(url->p_Scheme(), String("http"));
    EXPECT_TRUE(url->p_Username().IsEmpty());
    EXPECT_TRUE(url->p_Password().IsEmpty());
    EXPECT_EQ(url->p_Domain(), String("other"));
    EXPECT_EQ(url->p_Port(), 80);
    EXPECT_EQ(url->p_FullPath(), String("/"));
}

TEST(StringStack, PushGetAndJoin) {
    c_StringStack* stack = (new c_StringStack)->m_new2();
    EXPECT_TRUE(stack->p_Join(String(",")).IsEmpty());
    stack->p_Push4(String("a"));
    EXPECT_EQ(stack->p_Join(String(",")), String("a"));
    for (int i = 0; i < 30; ++i) stack->p_Push4(String(i));
    EXPECT_EQ(stack->p_Length2(), 31);
    EXPECT_EQ(stack->p_Get(30), String("29"));
    EXPECT_TRUE(stack->p_Get(31).IsEmpty());
    EXPECT_TRUE(stack->p_Get(-1).IsEmpty());
    stack->p_Length(3);
    EXPECT_EQ(stack->p_Join(String("+")), String("a+0+1"));
}

TEST(StringStack, RangesArraysAndLengthChanges) {
    Array<String> words(4);
    words[0] = "w0";
    words[1] = "w1";
    words[2] = "w2";
    words[3] = "w3";
    c_StringStack* stack = (new c_StringStack)->m_new(words);
    words[0] = "changed";
    EXPECT_EQ(stack->p_Get(0), String("w0")) << "the stack holds a copy";
    stack->p_Push5(words, 1, 2);
    stack->p_Push6(words, 3);
    EXPECT_EQ(stack->p_Join(String(" ")), String("w0 w1 w2 w3 w1 w2 w3"));

    stack->p_Length(2);
    stack->p_Length(4);
    EXPECT_TRUE(stack->p_Get(2).IsEmpty()) << "entries dropped by shrinking do not come back";
    Array<String> all = stack->p_ToArray();
    EXPECT_EQ(all.Length(), 4);
    EXPECT_EQ(all[1], String("w1"));

    stack->p_Clear();
    EXPECT_EQ(stack->p_Length2(), 0);
    EXPECT_EQ(stack->p_ToArray().Length(), 0);
}
