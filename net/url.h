// URLs split into scheme, user, password, domain, port, path, query and fragment.
#pragma once

#include "runtime/runtime.h"

class c_Url : public Object {
public:
    c_Url* m_new(const String& url, const String& defaultScheme, int defaultPort);
    c_Url* m_new2();

    int p_Set2(const String& url);
    // The path, then "?query" and "#fragment" when present.
    String p_FullPath() const;
    String p_Domain() const { return m_domain; }
    int p_Port() const { return m_port; }
    String p_Scheme() const { return m_scheme; }
    String p_Username() const { return m_username; }
    String p_Password() const { return m_password; }
    String p_Path() const { return m_path; }
    String p_Query() const { return m_query; }
    String p_Fragment() const { return m_fragment; }
    String p_Text() const { return m_text; }

private:
    String m_defaultScheme;
    int m_defaultPort = 0;
    String m_text;
    String m_scheme;
    String m_username;
    String m_password;
    String m_domain;
    int m_port = 0;
    String m_path;
    String m_query;
    String m_fragment;
};
