# The page as a site to host: index.html with its manifest, and the worker that keeps it
# offline, its cache named by the page's hash.
#   cmake -DPAGE=quorvandelle.html -DSOURCE=web -DOUT=site -P site.cmake
file(READ ${PAGE} html)
string(REPLACE "<link rel=\"icon\" href=\"data:,\">"
  "<link rel=\"icon\" href=\"icon-192.png\"><link rel=\"apple-touch-icon\" href=\"icon-192.png\"><link rel=\"manifest\" href=\"manifest.webmanifest\"><meta name=\"theme-color\" content=\"#1c1c1c\">"
  html "${html}")
file(WRITE ${OUT}/index.html "${html}")
file(SHA256 ${OUT}/index.html hash)
string(SUBSTRING ${hash} 0 16 PAGE_HASH)
configure_file(${SOURCE}/sw.js ${OUT}/sw.js @ONLY)
configure_file(${SOURCE}/manifest.webmanifest ${OUT}/manifest.webmanifest COPYONLY)
