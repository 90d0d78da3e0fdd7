#pragma once

// Builds one debug-listing line of at most 1023 characters.
class ListingLine {
public:
    void append(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Appends the line to the error log; the stored error stays as it is.
    void emit() const;
    const char* text() const { return m_text; }

private:
    char m_text[1024] = {};
    unsigned m_length = 0;
};

// The identity the listing prints for an object: its address.
long long objectIdentity(const void* object);
