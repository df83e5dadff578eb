#include <gtest/gtest.h>

#include <cerrno>
#include <thread>
#include <vector>

#include "framework/scripted/scripted.h"
#include "net/socket_errors.h"
#include "net/winsock.h"
#include "unit/parameters_dlg.h"

namespace {

struct ErrorRow {
    int code;
    const char* text;
};

TEST(SocketErrorText, NamesTheTwentyFourCodesAndNothingElse) {
    const ErrorRow rows[] = {
        {10004, "WSAEINTR:"},         {10013, "WSAEACCES:"},          {10014, "WSAEFAULT:"},
        {10024, "WSAEMFILE:"},        {10035, "WSAEWOULDBLOCK:"},     {10036, "WSAEINPROGRESS:"},
        {10038, "WSAENOTSOCK:"},      {10039, "WSAEDESTADDRREQ:"},    {10040, "WSAEMSGSIZE:"},
        {10041, "WSAEPROTOTYPE:"},    {10043, "WSAEPROTONOSUPPORT:"}, {10044, "WSAESOCKTNOSUPPORT:"},
        {10045, "WSAEOPNOTSUPP:"},    {10047, "WSAEAFNOSUPPORT:"},    {10049, "WSAEADDRNOTAVAIL:"},
        {10050, "WSAENETDOWN:"},      {10051, "WSAENETUNREACH:"},     {10052, "WSAENETRESET:"},
        {10053, "WSAECONNABORTED:"},  {10054, "WSAECONNRESET:"},      {10055, "WSAENOBUFS"},  // no colon
        {10057, "WSAENOTCONN:"},      {10058, "WSAESHUTDOWN:"},       {10093, "WSANOTINITIALISED:"},
        // codes the table does not name
        {0, "Unrecognized Error"},    {10048, "Unrecognized Error"},  {10022, "Unrecognized Error"},
        {10107, "Unrecognized Error"}, {-1, "Unrecognized Error"},    {5, "Unrecognized Error"},
    };
    for (const ErrorRow& row : rows) {
        EXPECT_STREQ(SocketErrorText(row.code), row.text) << row.code;
    }
}

TEST(WsaErrorFromErrno, MapsByMeaning) {
    const std::pair<int, int> rows[] = {
        {EINTR, 10004},        {EACCES, 10013},      {EPERM, 10013},           {EFAULT, 10014},
        {EMFILE, 10024},       {ENFILE, 10024},      {EAGAIN, 10035},          {EINPROGRESS, 10036},
        {ENOTSOCK, 10038},     {EBADF, 10038},       {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
        {EPROTOTYPE, 10041},   {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
        {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},  {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
        {ENETUNREACH, 10051},  {ENETRESET, 10052},   {ECONNABORTED, 10053},    {ECONNRESET, 10054},
        {ENOBUFS, 10055},      {ENOMEM, 10055},      {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
        {EINVAL, 10022},       {ENODEV, WSASYSCALLFAILURE},
    };
    for (auto [posix, wsa] : rows) {
        EXPECT_EQ(WsaErrorFromErrno(posix), wsa) << posix;
    }
}

TEST(ReportSocketError, ShowsTheLastErrorOwnedByNoWindowWithTheApplicationsName) {
    std::vector<scripted::ShownMessage> shown;
    scripted::SetMessageSink([&](const scripted::ShownMessage& m) { shown.push_back(m); });
    CParametersDlg unit;
    WSASetLastError(10055);
    ReportSocketError(unit);
    WSASetLastError(10048);
    ReportSocketError(unit);
    scripted::Reset();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "WSAENOBUFS");
    EXPECT_EQ(shown[1].text, "Unrecognized Error");
    EXPECT_EQ(shown[0].title, "wrenset_unit_tests");
    EXPECT_EQ(shown[0].ownerTemplateId, 0);
}

TEST(LastSocketError, IsKeptPerThread) {
    WSASetLastError(10013);
    std::thread other([] { WSASetLastError(10040); });
    other.join();
    EXPECT_EQ(WSAGetLastError(), 10013);
}

}  // namespace
