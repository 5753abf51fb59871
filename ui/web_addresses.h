// The maker's web addresses, kept together.
#pragma once

inline constexpr const char* ShopPageUrl = "https://shop.tervan.example/";
inline constexpr const char* AuthorPageUrl = "https://blog.tervan.example/";
inline constexpr const char* ProductPageUrls[3] = {
    "https://shop.tervan.example/products/disk-cleaner.htm",
    "https://shop.tervan.example/products/file-backup.htm",
    "https://shop.tervan.example/products/screen-capture.htm",
};
