#pragma once
// A form from its text (FORM.form, the text form of component streams) to the
// component stream that the program reads as its form resource; the stream is
// read back as a form layout first, so a form that the program would refuse
// fails here.

#include <filesystem>
#include <string>

// Raises std::runtime_error with the file (and the line, for mistakes of the text).
std::string CompileForm(const std::filesystem::path& formFile);
