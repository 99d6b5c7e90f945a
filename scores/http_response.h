// An HTTP answer as it comes in, piece by piece, until the server closes the connection. The
// header is cut off at the first blank line (looked for once more than ten bytes have come); what
// follows is the body. Without a blank line the whole answer is the body. The body may not grow
// past a cap: a server that sends without end costs at most the cap and one piece of memory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace spellcrypt {

class HttpResponse {
 public:
  // maxBody: the most body bytes taken; piece: the most bytes one Add brings.
  HttpResponse(std::size_t maxBody, std::size_t piece);

  // Takes the next bytes (at most one piece).
  void Append(const char* bytes, std::size_t count);
  // Then cuts the header off if its end has come, and answers whether the body is within the cap.
  bool Examine();
  // The server has closed: the body gets its terminating NUL.
  void Finish();

  // The body, NUL-terminated once finished.
  const std::vector<char>& Body() const { return data_; }
  const std::string& Header() const { return header_; }
  bool HeaderFound() const { return headerFound_; }
  // The memory the body holds (for the tests' watch on it).
  std::size_t Capacity() const { return data_.capacity(); }

 private:
  void CutHeader();

  std::size_t maxBody_;
  std::size_t piece_;
  std::vector<char> data_;
  std::string header_;
  bool headerFound_ = false;
  std::size_t searchedTo_ = 0;  // the header search goes on from here
};

}  // namespace spellcrypt
