#!/usr/bin/env bash
# Prepares this machine for building, running and testing the client.
#
# It installs the Debian packages the build needs (adding the i386 architecture
# and a source-package entry for the configured Debian archive when they are
# missing), fetches the sources of the libraries we cross-build into the build
# tree, and generates the Chinese locale the program runs under.  Every step
# first checks whether its work is already done, so a second run with
# everything present touches nothing and takes seconds.
set -euo pipefail

root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-$root_dir/build}
third_party=$build_dir/third_party

packages=(
  g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine32:i386
  xvfb xauth x11-utils fonts-wine fonts-wqy-microhei locales
  libz-mingw-w64-dev libstb-dev googletest
  chromium
  cmake ninja-build make dpkg-dev python3
)
# pugixml is built for the markup benchmark only, as the parser it is measured
# against; nothing of it is linked into the program.
source_packages=(libjsoncpp minizip pugixml)

say() { printf 'setup: %s\n' "$*"; }

# Root is needed for apt and locale generation only; find a way to get it
# once, and explain clearly when there is none.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo "$@"
  elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
    sudo "$@"
  else
    say "installing needs root: run this as root or give this user sudo ($*)" >&2
    exit 1
  fi
}

apt_updated=0
apt_update_once() {
  if [ "$apt_updated" -eq 0 ]; then
    say "refreshing the package lists"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    apt_updated=1
  fi
}

# 1. The i386 architecture, which the 32-bit Wine needs.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture"
  as_root dpkg --add-architecture i386
  apt_updated=0
  need_update=1
fi

# 2. A source-package entry for the same archive the binary packages come from.
has_deb_src() {
  grep -rqsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null && return 0
  grep -rqsE '^Types:.*\bdeb-src\b' /etc/apt/sources.list.d/*.sources 2>/dev/null && return 0
  return 1
}
if ! has_deb_src; then
  uri="" suite=""
  if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
    uri=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/*.sources)
    suite=$(awk '/^Suites:/{print $2; exit}' /etc/apt/sources.list.d/*.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    read -r uri suite < <(awk '$1=="deb"{for(i=2;i<=NF;i++) if($i !~ /^\[/){print $i, $(i+1); exit}}' /etc/apt/sources.list)
  fi
  if [ -z "$uri" ] || [ -z "$suite" ]; then
    say "cannot find the Debian archive in the apt sources to add a deb-src entry" >&2
    exit 1
  fi
  say "adding a deb-src entry for $uri $suite"
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$uri" "$suite" | as_root tee /etc/apt/sources.list.d/talmic-deb-src.sources >/dev/null
  need_update=1
fi

# 3. Binary packages.
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
if [ "${need_update:-0}" -eq 1 ] || [ ${#missing[@]} -gt 0 ]; then
  apt_update_once
fi
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]} (log: $build_dir/setup-apt.log)"
  mkdir -p "$build_dir"
  if ! as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >"$build_dir/setup-apt.log" 2>&1; then
    tail -n 40 "$build_dir/setup-apt.log" >&2
    say "installing the packages failed (the whole log is in $build_dir/setup-apt.log)" >&2
    exit 1
  fi
fi

# 4. Sources of the libraries we cross-build, unpacked once into the build tree.
mkdir -p "$third_party"
for sp in "${source_packages[@]}"; do
  if ! ls -d "$third_party/$sp"-*/ >/dev/null 2>&1; then
    say "fetching the source package $sp"
    if ! (cd "$third_party" && apt-get source -qq "$sp" >/dev/null 2>&1); then
      apt_update_once
      (cd "$third_party" && apt-get source -qq "$sp" >/dev/null)
    fi
  fi
done
# Stable names for the build to find them by.
for sp in "${source_packages[@]}"; do
  dir=$(ls -d "$third_party/$sp"-*/ | head -n 1)
  ln -sfn "$(basename "$dir")" "$third_party/$sp"
done

# 5. The Chinese locale the program runs under (ANSI code page 936 in Wine).
if ! locale -a 2>/dev/null | grep -qiE '^zh_CN\.utf-?8$'; then
  say "generating the zh_CN.UTF-8 locale"
  if ! grep -qE '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi

exit 0
