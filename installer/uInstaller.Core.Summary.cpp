#include "uInstaller.Core.Summary.h"

#include "DRX.Format.h"

TInstallerSummaryBuilder::TInstallerSummaryBuilder(TLangText langText) : langText_(std::move(langText)) {}

void TInstallerSummaryBuilder::BeginSection(UStringView caption) { pendingCaption_ = caption; }

void TInstallerSummaryBuilder::BeginSection(UStringView section, UStringView key) {
  BeginSection(langText_(section, key));
}

void TInstallerSummaryBuilder::AddItem(UStringView text) {
  if (!pendingCaption_.empty()) {
    if (!text_.empty()) text_ += u"\r\n";
    text_ += pendingCaption_ + u"\r\n";
    pendingCaption_.clear();
  }
  text_ += u"    " + UString(text) + u"\r\n";
}

void TInstallerSummaryBuilder::AddItem(UStringView section, UStringView key) { AddItem(langText_(section, key)); }

UString VersionIdToText(int versionId) {
  return Format(u"%d.%.2d", {versionId / 1000, (versionId % 1000) / 10});
}
