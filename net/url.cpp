#include "net/url.h"

c_Url* c_Url::m_new(const String& url, const String& defaultScheme, int defaultPort) {
    m_defaultScheme = defaultScheme;
    m_defaultPort = defaultPort;
    p_Set2(url);
    return this;
}

c_Url* c_Url::m_new2() {
    m_path = "/";
    return this;
}

namespace {

// Position of `text` at or after `from`, or -1 when absent or not before `end`.
int FindBefore(const String& u, const char* text, int from, int end) {
    int at = u.Find(String(text), from);
    return at >= 0 && at < end ? at : -1;
}

}  // namespace

int c_Url::p_Set2(const String& u) {
    m_text = u;
    m_scheme = m_defaultScheme;
    m_username = m_password = m_domain = m_query = m_fragment = String();
    m_port = m_defaultPort;
    m_path = "/";

    int q = u.Find(String("?"));
    int h = u.Find(String("#"));
    if (q >= 0 && h >= 0 && q > h) q = -1;  // a "?" inside the fragment
    int e = u.Length();
    if (q >= 0) e = q;
    if (h >= 0 && h < e) e = h;

    int s = 0;
    int i = FindBefore(u, "://", 0, e);
    if (i >= 0) {
        m_scheme = u.Slice(0, i);
        s = i + 3;
    }
    int a = FindBefore(u, "@", s, e);
    if (a >= 0) {
        int k = FindBefore(u, ":", s, a);
        if (k >= 0) {
            m_username = u.Slice(s, k);
            m_password = u.Slice(k + 1, a);
        } else {
            m_username = u.Slice(s, a);
        }
        s = a + 1;
    }
    int k = FindBefore(u, ":", s, e);
    int p = FindBefore(u, "/", s, e);
    if (p >= 0 && k >= 0 && k < p) {
        m_domain = u.Slice(s, k);
        m_port = u.Slice(k + 1, p).ToInt();
        m_path = u.Slice(p, e);
    } else if (p >= 0) {
        m_domain = u.Slice(s, p);
        m_path = u.Slice(p, e);
    } else if (k >= 0) {
        m_domain = u.Slice(s, k);
        m_port = u.Slice(k + 1, e).ToInt();
    } else {
        m_domain = u.Slice(s, e);
    }

    if (q >= 0) m_query = h >= 0 ? u.Slice(q + 1, h) : u.Slice(q + 1);
    if (h >= 0) m_fragment = u.Slice(h + 1);
    return 0;
}

String c_Url::p_FullPath() const {
    String full = m_path;
    if (!m_query.IsEmpty()) full += String("?") + m_query;
    if (!m_fragment.IsEmpty()) full += String("#") + m_fragment;
    return full;
}
