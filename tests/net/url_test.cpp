#include <gtest/gtest.h>

#include <string>

#include "net/string_stack.h"
#include "net/url.h"
#include "tests/net/string_printer.h"

namespace {

c_Url* Parse(const char* text) { return (new c_Url)->m_new(String(text), String("http"), 80); }

// Every part of a parsed URL, named, on one line.
std::string Parts(const c_Url* url) {
    return "scheme=" + url->p_Scheme().ToUtf8() + " user=" + url->p_Username().ToUtf8() +
           " password=" + url->p_Password().ToUtf8() + " domain=" + url->p_Domain().ToUtf8() +
           " port=" + std::to_string(url->p_Port()) + " path=" + url->p_Path().ToUtf8() +
           " query=" + url->p_Query().ToUtf8() + " fragment=" + url->p_Fragment().ToUtf8();
}

}  // namespace

TEST(Url, EveryPartOfAFullUrl) {
    c_Url* url = Parse("s://h:8080/a/b?x=1#top");
    EXPECT_EQ(Parts(url),
              "scheme=s user= password= domain=h port=8080 path=/a/b query=x=1 fragment=top");
    EXPECT_EQ(url->p_FullPath(), String("/a/b?x=1#top"));
    EXPECT_EQ(url->p_Text(), String("s://h:8080/a/b?x=1#top"));
}

TEST(Url, ABareHostTakesTheDefaults) {
    c_Url* url = Parse("h");
    EXPECT_EQ(Parts(url), "scheme=http user= password= domain=h port=80 path=/ query= fragment=");
    EXPECT_EQ(url->p_FullPath(), String("/"));
}

TEST(Url, UserAndPassword) {
    EXPECT_EQ(Parts(Parse("s://u:pw@h/")),
              "scheme=s user=u password=pw domain=h port=80 path=/ query= fragment=");
    EXPECT_EQ(Parts(Parse("s://u@h:81")),
              "scheme=s user=u password= domain=h port=81 path=/ query= fragment=");
}

TEST(Url, AQuestionMarkAfterTheHashBelongsToTheFragment) {
    c_Url* url = Parse("s://h/p#frag?x");
    EXPECT_EQ(Parts(url),
              "scheme=s user= password= domain=h port=80 path=/p query= fragment=frag?x");
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
    EXPECT_EQ(Parts(Parse("h/p?next=s://u@x:9")),
              "scheme=http user= password= domain=h port=80 "
              "path=/p query=next=s://u@x:9 fragment=");
}

TEST(Url, QueryWithoutPathAndAColonInThePath) {
    c_Url* url = Parse("http://127.0.0.1:8000?hello=1&gameID=415");
    EXPECT_EQ(Parts(url),
              "scheme=http user= password= domain=127.0.0.1 port=8000 path=/ "
              "query=hello=1&gameID=415 fragment=");
    EXPECT_EQ(url->p_FullPath(), String("/?hello=1&gameID=415"));
    EXPECT_EQ(Parts(Parse("h/a:b")),
              "scheme=http user= password= domain=h port=80 path=/a:b query= fragment=");
}

TEST(Url, SettingAgainStartsFromTheDefaults) {
    c_Url* url = Parse("s://u:p@h:1/x?q#f");
    url->p_Set2(String("other"));
    EXPECT_EQ(Parts(url),
              "scheme=http user= password= domain=other port=80 path=/ query= fragment=");
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
    const String source[] = {"w0", "w1", "w2", "w3"};
    Array<String> words(source, 4);
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
