// A server certificate as the engine reports it with a certificate error.
#pragma once

#include <vector>

#include "include/cef_base.h"
#include "include/cef_values.h"

class CefSSLCertPrincipal;

class CefSSLInfo : public virtual CefBase {
 public:
  virtual CefRefPtr<CefSSLCertPrincipal> GetSubject() = 0;
  virtual CefRefPtr<CefSSLCertPrincipal> GetIssuer() = 0;
  virtual CefRefPtr<CefBinaryValue> GetSerialNumber() = 0;
  virtual CefTime GetValidStart() = 0;
  virtual CefTime GetValidExpiry() = 0;
  virtual CefRefPtr<CefBinaryValue> GetDEREncoded() = 0;
  virtual CefRefPtr<CefBinaryValue> GetPEMEncoded() = 0;
};

// A certificate's subject or issuer.
class CefSSLCertPrincipal : public virtual CefBase {
 public:
  virtual CefString GetDisplayName() = 0;
  virtual CefString GetCommonName() = 0;
  virtual CefString GetLocalityName() = 0;
  virtual CefString GetStateOrProvinceName() = 0;
  virtual CefString GetCountryName() = 0;
  virtual void GetStreetAddresses(std::vector<CefString>& addresses) = 0;
  virtual void GetOrganizationNames(std::vector<CefString>& names) = 0;
  virtual void GetOrganizationUnitNames(std::vector<CefString>& names) = 0;
  virtual void GetDomainComponents(std::vector<CefString>& components) = 0;
};
