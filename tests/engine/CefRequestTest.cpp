#include <gtest/gtest.h>

#include <string>

#include "include/cef_request.h"
#include "include/cef_response.h"
#include "src/CefDownloadItemImpl.h"
#include "src/CefRequestImpl.h"

namespace {

TEST(CefRequest, StartsAsAPlainGetAndKeepsRepeatedHeaders) {
  CefRefPtr<CefRequest> request = CefRequest::Create();
  EXPECT_EQ(request->GetMethod().ToString(), "GET");
  EXPECT_EQ(request->GetPostData(), nullptr);
  EXPECT_EQ(request->GetFlags(), UR_FLAG_NONE);
  EXPECT_FALSE(request->IsReadOnly());

  CefRequest::HeaderMap headers;
  headers.insert({"Accept", "text/html"});
  headers.insert({"Accept", "*/*"});
  CefRefPtr<CefPostData> body = CefPostData::Create();
  CefRefPtr<CefPostDataElement> element = CefPostDataElement::Create();
  element->SetToBytes(3, "a=1");
  EXPECT_TRUE(body->AddElement(element));
  EXPECT_FALSE(body->AddElement(element));
  request->Set("http://127.0.0.1/common/checkVersions.jhtml", "POST", body, headers);

  CefRequest::HeaderMap read;
  request->GetHeaderMap(read);
  EXPECT_EQ(read.count("Accept"), 2u);
  EXPECT_EQ(request->GetMethod().ToString(), "POST");
  ASSERT_EQ(request->GetPostData()->GetElementCount(), 1u);
  char bytes[8] = {};
  EXPECT_EQ(element->GetBytes(sizeof(bytes), bytes), 3u);
  EXPECT_EQ(std::string(bytes), "a=1");
  element->SetToFile(L"C:\\upload.txt");
  EXPECT_EQ(element->GetType(), PDE_TYPE_FILE);
  EXPECT_EQ(element->GetBytesCount(), 0u);
}

TEST(CefRequest, AReadOnlyRequestIgnoresChangesToItAndItsBody) {
  CefRefPtr<engine::CefRequestImpl> request = new engine::CefRequestImpl();
  request->SetURL("http://127.0.0.1/");
  CefRefPtr<CefPostDataElement> element = CefPostDataElement::Create();
  element->SetToBytes(1, "x");
  CefRefPtr<CefPostData> body = CefPostData::Create();
  body->AddElement(element);
  request->SetPostData(body);
  request->SetResourceType(RT_SUB_FRAME);
  request->SetReadOnly();

  request->SetURL("http://elsewhere/");
  request->SetMethod("PUT");
  request->SetPostData(nullptr);
  EXPECT_EQ(request->GetURL().ToString(), "http://127.0.0.1/");
  EXPECT_EQ(request->GetMethod().ToString(), "GET");
  EXPECT_EQ(request->GetResourceType(), RT_SUB_FRAME);
  EXPECT_TRUE(body->IsReadOnly());
  EXPECT_FALSE(body->AddElement(CefPostDataElement::Create()));
  EXPECT_TRUE(element->IsReadOnly());
  element->SetToEmpty();
  EXPECT_EQ(element->GetType(), PDE_TYPE_BYTES);
}

TEST(CefResponse, FindsHeadersWhateverTheirCase) {
  CefRefPtr<CefResponse> response = CefResponse::Create();
  CefResponse::HeaderMap headers;
  headers.insert({"Content-Type", "text/html; charset=utf-8"});
  response->SetHeaderMap(headers);
  EXPECT_EQ(response->GetHeader("content-type").ToString(), "text/html; charset=utf-8");
  EXPECT_EQ(response->GetHeader("Content-Length").ToString(), "");
}

TEST(CefDownloadItem, ProgressAndTimesFollowTheEnginesUpdates) {
  struct Case {
    int64 received;
    int64 total;
    int percent;
  };
  const Case cases[] = {{0, -1, -1},
                        {10, 0, -1},
                        {0, 200, 0},
                        {50, 200, 25},
                        {199, 200, 99},
                        {300, 200, 100},
                        {4000000000LL, 8000000000LL, 50}};
  CefRefPtr<engine::CefDownloadItemImpl> item = new engine::CefDownloadItemImpl();
  for (const Case& c : cases) {
    item->SetBytes(c.received, c.total);
    EXPECT_EQ(item->GetPercentComplete(), c.percent) << c.received << "/" << c.total;
  }

  item->SetUrl("http://127.0.0.1/file.zip");
  EXPECT_EQ(item->GetOriginalUrl().ToString(), "http://127.0.0.1/file.zip");
  EXPECT_EQ(item->GetStartTime().year, 0);
  item->SetState(true, false, false);
  const CefTime started = item->GetStartTime();
  EXPECT_NE(started.year, 0);
  EXPECT_EQ(item->GetEndTime().year, 0);
  item->SetCurrentSpeed(1000);
  item->SetState(false, true, false);
  EXPECT_TRUE(item->IsComplete());
  EXPECT_FALSE(item->IsInProgress());
  EXPECT_EQ(item->GetCurrentSpeed(), 0);
  EXPECT_GE(item->GetEndTime().GetDoubleT(), started.GetDoubleT());
}

}  // namespace
