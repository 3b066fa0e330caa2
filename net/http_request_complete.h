// What a caller of an HTTP request implements to hear of its completion; kept apart from
// the client so that implementers need not see sockets.
#pragma once

class c_HttpRequest;

class c_IOnHttpRequestComplete {
public:
    virtual ~c_IOnHttpRequestComplete() {}
    virtual int p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};
