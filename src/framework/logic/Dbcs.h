// Double-byte aware byte searches over narrow strings in the ANSI code page 936 (GBK).
#pragma once

#include <string>

// A GBK lead byte (0x81..0xFE). The byte after it is always its trail byte, which may be any
// value from 0x40 up, including 0x5C ('\\') and the letters 'A'..'Z': such a trail byte is
// never a character of its own.
bool IsGbkLeadByte(unsigned char c);

// Byte index of the first character equal to c that starts at or after byte index from, or
// std::string::npos. Only character starts are compared, so a trail byte never matches.
std::string::size_type FindCharDbcs(const std::string& s, char c, std::string::size_type from = 0);

// Byte index of the first occurrence of needle that starts on a character boundary at or
// after byte index from, or std::string::npos. An empty needle is found at the first boundary.
std::string::size_type FindStringDbcs(const std::string& s, const std::string& needle,
                                      std::string::size_type from = 0);

// Length of the longest prefix of s of at most maxBytes bytes that ends on a character
// boundary (never keeps a lead byte without its trail byte).
std::string::size_type DbcsPrefixLength(const std::string& s, std::string::size_type maxBytes);
