#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "Classes/Records/ShopInfo.h"
#include "Platform/Image/Image.h"
#include "tests/support/ServiceLauncher.h"

// Inputs and reference steps several benchmarks share, so that they measure the same bytes.
namespace lk::bench {

// `data` compressed as the service sends it (gzip framing); throws when zlib fails.
std::string gzip(const std::string& data);

// The floor under inflating: one inflate call into a buffer of the known inflated `size`.
std::string bareInflate(const std::string& compressed, std::size_t size);

// The client's own path from a compressed search answer to the rows of the results screen.
std::vector<std::shared_ptr<ShopInfo>> decodeSearchPage(const std::string& compressed);

// The stand-in service started on a copy of the shared seeded database, with extra command-line
// options; check `running()`.
std::unique_ptr<test::ServiceLauncher> seededService(std::vector<std::string> arguments = {});

// An avatar-sized picture (100 x 100), as a record stores it.
std::shared_ptr<Image> avatarPicture();

}  // namespace lk::bench
