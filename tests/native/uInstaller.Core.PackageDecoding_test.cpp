#include "uInstaller.Core.PackageDecoding.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(PackageDecoding, WaitsEndWithTheLengthReachedOrTheWorkDone) {
  TSetupPackageDecoding decoding([](const TSetupPackageDecoding::TReached& reached) {
    for (int64_t decoded = 1; decoded <= 1000; ++decoded) reached(decoded);
  });
  decoding.WaitFor(500);
  decoding.WaitForEnd();
  decoding.WaitFor(1 << 30);  // beyond what the work reports: it is done
}

TEST(PackageDecoding, AFailureReachesEveryWaitAsOftenAsAsked) {
  TSetupPackageDecoding decoding([](const TSetupPackageDecoding::TReached& reached) {
    reached(10);
    throw std::runtime_error("damaged");
  });
  EXPECT_THROW(decoding.WaitFor(11), std::runtime_error);
  EXPECT_THROW(decoding.WaitForEnd(), std::runtime_error);
  EXPECT_THROW(decoding.WaitForEnd(), std::runtime_error);
  EXPECT_THROW(decoding.WaitFor(5), std::runtime_error);  // done: the failure is what there is to know
}

TEST(PackageDecoding, LeavingItStopsWorkThatWouldNeverEnd) {
  auto decoding = std::make_unique<TSetupPackageDecoding>([](const TSetupPackageDecoding::TReached& reached) {
    for (int64_t decoded = 1;; ++decoded) reached(decoded);
  });
  decoding->WaitFor(100);
  decoding.reset();  // hangs when the stop does not reach the work
}
