// A web request: address, method, headers, upload data and how it came
// about.
#pragma once

#include <map>
#include <vector>

#include "include/cef_base.h"
#include "include/internal/cef_types.h"

class CefPostData;
class CefPostDataElement;

class CefRequest : public virtual CefBase {
 public:
  typedef std::multimap<CefString, CefString> HeaderMap;
  typedef cef_resource_type_t ResourceType;
  typedef cef_transition_type_t TransitionType;

  // An empty, writable request: method "GET", no headers, no upload data,
  // no flags.
  static CefRefPtr<CefRequest> Create();

  // Requests the engine hands to the client for information only are
  // read-only; their setters change nothing.
  virtual bool IsReadOnly() = 0;
  virtual CefString GetURL() = 0;
  virtual void SetURL(const CefString& url) = 0;
  virtual CefString GetMethod() = 0;
  virtual void SetMethod(const CefString& method) = 0;
  virtual CefRefPtr<CefPostData> GetPostData() = 0;
  virtual void SetPostData(CefRefPtr<CefPostData> postData) = 0;
  virtual void GetHeaderMap(HeaderMap& headerMap) = 0;
  virtual void SetHeaderMap(const HeaderMap& headerMap) = 0;
  virtual void Set(const CefString& url, const CefString& method, CefRefPtr<CefPostData> postData,
                   const HeaderMap& headerMap) = 0;
  // A combination of cef_urlrequest_flags_t.
  virtual int GetFlags() = 0;
  virtual void SetFlags(int flags) = 0;
  virtual CefString GetFirstPartyForCookies() = 0;
  virtual void SetFirstPartyForCookies(const CefString& url) = 0;
  virtual ResourceType GetResourceType() = 0;
  virtual TransitionType GetTransitionType() = 0;
  // The engine's number for the request; 0 for a request it did not make.
  virtual uint64 GetIdentifier() = 0;
};

// The upload data of a request: a sequence of elements.
class CefPostData : public virtual CefBase {
 public:
  typedef std::vector<CefRefPtr<CefPostDataElement>> ElementVector;

  static CefRefPtr<CefPostData> Create();

  virtual bool IsReadOnly() = 0;
  virtual size_t GetElementCount() = 0;
  virtual void GetElements(ElementVector& elements) = 0;
  // False when element is not one of this data's elements.
  virtual bool RemoveElement(CefRefPtr<CefPostDataElement> element) = 0;
  virtual bool AddElement(CefRefPtr<CefPostDataElement> element) = 0;
  virtual void RemoveElements() = 0;
};

// One piece of upload data: bytes or a file's contents.
class CefPostDataElement : public virtual CefBase {
 public:
  typedef cef_postdataelement_type_t Type;

  static CefRefPtr<CefPostDataElement> Create();

  virtual bool IsReadOnly() = 0;
  virtual void SetToEmpty() = 0;
  virtual void SetToFile(const CefString& fileName) = 0;
  virtual void SetToBytes(size_t size, const void* bytes) = 0;
  virtual Type GetType() = 0;
  virtual CefString GetFile() = 0;
  virtual size_t GetBytesCount() = 0;
  // Copies up to size bytes into bytes; returns how many it copied.
  virtual size_t GetBytes(size_t size, void* bytes) = 0;
};
