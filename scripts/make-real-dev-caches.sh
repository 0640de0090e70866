#!/usr/bin/env bash
# Usage: scripts/make-real-dev-caches.sh HOME_DIR
# Fills HOME_DIR with caches written by the developer tools themselves, so the cleaner's rules
# can be checked against real layouts rather than imagined ones. Each tool runs with HOME=HOME_DIR
# and an otherwise empty environment, so it picks its own default folders. Only npm and Debian
# packages come from outside: Go proxy, Python index, Cargo registry and git remote are made here.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 HOME_DIR" >&2; exit 2; }
mkdir -p "$1" && home=$(cd "$1" && pwd)
# Captured before the environment is emptied: rustup's toolchains live in the caller's home.
cargo_bin="${CARGO_HOME:-$HOME/.cargo}/bin"
rustup_home="${RUSTUP_HOME:-$HOME/.rustup}"
ca="${NODE_EXTRA_CA_CERTS:-}"

debian_packages=(ccache gcc libc6-dev git curl ca-certificates golang-go yarnpkg rclone
  python3 python3-pip python3-setuptools-whl python3-wheel-whl
  maven libmaven-dependency-plugin-java junit4 gradle)
# Node may come from another repository whose nodejs bundles npm; Debian's npm would clash.
command -v npm >/dev/null || debian_packages+=(nodejs npm)
missing=()
for p in "${debian_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"; sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The scratch folder sits inside HOME_DIR because pnpm puts its store at the root of the
# project's file system when that differs from the home's, which would hide the default.
work=$(mktemp -d "$home/.make-caches.XXXXXX")
touch "$work/servers"
cleanup() { while read -r pid; do kill "$pid" 2>/dev/null || true; done <"$work/servers"; rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

# No XDG_*, GOPATH, CARGO_HOME, PIP_* or npm_config_* can leak in. The CA bundle is kept:
# npm given --prefix stops reading the global npmrc that names it on this kind of machine.
clean=(env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 ${ca:+NODE_EXTRA_CA_CERTS="$ca"})
t() { "${clean[@]}" "$@"; }
# Tools are chatty on success; their output only matters when they fail.
quiet() { "$@" >"$work/last.log" 2>&1 || { cat "$work/last.log"; return 1; }; }
free_port() { /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wait_http() { for _ in $(seq 100); do curl -fsS -o /dev/null "$1" 2>/dev/null && return 0; sleep 0.1; done; return 1; }

# One local web server stands in for both the Python index and the Cargo registry. It
# marks files immutable the way public indexes do: without that pip's HTTP cache stays empty.
mkdir -p "$work/www"
cat >"$work/serve.py" <<'EOF'
import functools, http.server, sys
class Immutable(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cache-Control", "max-age=31536000, public")
        super().end_headers()
srv = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Immutable, directory=sys.argv[1]))
open(sys.argv[2], "w").write(str(srv.server_port))
srv.serve_forever()
EOF
/usr/bin/python3 "$work/serve.py" "$work/www" "$work/port" 2>"$work/www.log" & echo $! >>"$work/servers"
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
www="http://127.0.0.1:$(cat "$work/port")"
wait_http "$www/"

make_ccache() {
  cd "$work" && printf 'int main(void) { return 0; }\n' >t.c
  # The second compile is the one that proves the first one was stored.
  t ccache gcc -c t.c -o t.o && t ccache gcc -c t.c -o t.o
}

make_go() {
  # A module proxy is only folders and files: list, .info, .mod and a zip whose paths
  # start with module@version/.
  local v="$work/goproxy/example.com/tiny/@v" mod=$'module example.com/tiny\n\ngo 1.19\n'
  mkdir -p "$v" "$work/goapp"
  echo v1.0.0 >"$v/list"; printf '%s' "$mod" >"$v/v1.0.0.mod"
  echo '{"Version":"v1.0.0","Time":"2024-01-01T00:00:00Z"}' >"$v/v1.0.0.info"
  /usr/bin/python3 - "$v/v1.0.0.zip" "$mod" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("example.com/tiny@v1.0.0/go.mod", sys.argv[2])
    z.writestr("example.com/tiny@v1.0.0/tiny.go", "package tiny\n\nfunc Answer() int { return 42 }\n")
EOF
  cd "$work/goapp"
  printf 'module example.com/app\n\ngo 1.19\n\nrequire example.com/tiny v1.0.0\n' >go.mod
  printf 'package main\n\nimport (\n\t"fmt"\n\n\t"example.com/tiny"\n)\n\nfunc main() { fmt.Println(tiny.Answer()) }\n' >main.go
  local g=(GOPROXY="file://$work/goproxy" GOSUMDB=off GOFLAGS=-mod=mod)
  t "${g[@]}" go mod download && t "${g[@]}" go build -o app .
}

make_npm() { cd "$work" && quiet t npm cache add is-number@7.0.0; }
make_yarn() {
  mkdir -p "$work/yarnapp" && cd "$work/yarnapp" && echo '{"name":"y","version":"1.0.0","private":true}' >package.json
  # Yarn 1 keeps root's cache under /usr/local/share; pointing it at the folder any other
  # user gets keeps the machine clean and the layout (v6 is appended by yarn) the same.
  local as_user=(); [ "$(id -u)" -eq 0 ] && as_user=(--cache-folder "$home/.cache/yarn")
  # Debian's yarn finds its modules only in Debian's node module folder, which a node
  # from another repository does not search.
  quiet t NODE_PATH=/usr/share/nodejs yarnpkg add is-number@7.0.0 --registry https://registry.npmjs.org \
    --non-interactive --no-progress "${as_user[@]}"
}

make_pnpm() {
  # Two majors side by side, as on a machine that has been upgraded: each keeps its own store.
  local major
  for major in 10 latest; do
    mkdir -p "$work/pnpm/app-$major" && cd "$work/pnpm"
    quiet t npm install -g --prefix "$work/pnpm/prefix-$major" --no-fund --no-audit "pnpm@$major"
    cd "app-$major" && echo '{"name":"p","version":"1.0.0","private":true}' >package.json
    quiet t "$work/pnpm/prefix-$major/bin/pnpm" add is-number@7.0.0
  done
}

make_pip() {
  # An sdist (not a wheel) makes pip build and keep a wheel in wheels/; setuptools and
  # wheel for its isolated build come from Debian's wheel files served on the same index.
  local s="$work/pysrc/tidvale_tiny-1.0" simple="$work/www/simple" d
  mkdir -p "$s/tidvale_tiny" "$simple"/{setuptools,wheel,tidvale-tiny}
  printf '[build-system]\nrequires = ["setuptools", "wheel"]\nbuild-backend = "setuptools.build_meta"\n\n[project]\nname = "tidvale-tiny"\nversion = "1.0"\n' >"$s/pyproject.toml"
  printf 'Metadata-Version: 2.1\nName: tidvale-tiny\nVersion: 1.0\n' >"$s/PKG-INFO"
  echo 'ANSWER = 42' >"$s/tidvale_tiny/__init__.py"
  tar -C "$work/pysrc" -czf "$simple/tidvale-tiny/tidvale_tiny-1.0.tar.gz" tidvale_tiny-1.0
  cp /usr/share/python-wheels/setuptools-*.whl "$simple/setuptools/"; cp /usr/share/python-wheels/wheel-*.whl "$simple/wheel/"
  for d in "$simple"/*/; do (cd "$d" && for f in *; do echo "<a href=\"$f\">$f</a>"; done >index.html); done
  # --target keeps the system untouched; pip caches HTTP only from https or trusted hosts.
  quiet t /usr/bin/python3 -m pip install --target "$work/pytarget" --index-url "$www/simple/" \
    --trusted-host 127.0.0.1 tidvale-tiny
}

make_cargo() {
  [ -x "$cargo_bin/cargo" ] || { echo "   skipped: no cargo in $cargo_bin"; return 0; }
  local c=(t PATH="$cargo_bin:/usr/bin:/bin" RUSTUP_HOME="$rustup_home" "$cargo_bin/cargo")
  mkdir -p "$work/dep/src" "$work/reg/src" "$work/app/src" "$work/app/.cargo" "$work/www/cargo/ti/ny" "$work/www/crates"
  # A git dependency fills git/db (bare clone) and git/checkouts (working trees).
  cd "$work/dep" && t git init -q -b main
  printf '[package]\nname = "tinydep"\nversion = "0.1.0"\nedition = "2021"\n' >Cargo.toml
  echo 'pub fn answer() -> u32 { 42 }' >src/lib.rs
  t git add -A && t git -c user.name=tidvale -c user.email=tidvale@localhost commit -qm init
  # A sparse registry is plain files over HTTP, so our server can play the crates index.
  cd "$work/reg" && printf '[package]\nname = "tinyreg"\nversion = "0.1.0"\nedition = "2021"\ndescription = "t"\nlicense = "MIT"\n' >Cargo.toml
  echo 'pub fn seven() -> u32 { 7 }' >src/lib.rs
  quiet "${c[@]}" package --no-verify --allow-dirty
  cp target/package/tinyreg-0.1.0.crate "$work/www/crates/"
  printf '{"name":"tinyreg","vers":"0.1.0","deps":[],"cksum":"%s","features":{},"yanked":false}\n' \
    "$(sha256sum target/package/tinyreg-0.1.0.crate | cut -d' ' -f1)" >"$work/www/cargo/ti/ny/tinyreg"
  printf '{"dl":"%s/crates/{crate}-{version}.crate"}\n' "$www" >"$work/www/cargo/config.json"
  cd "$work/app" && printf '[registries.local]\nindex = "sparse+%s/cargo/"\n' "$www" >.cargo/config.toml
  printf '[package]\nname = "app"\nversion = "0.1.0"\nedition = "2021"\n\n[dependencies]\ntinydep = { git = "file://%s/dep" }\ntinyreg = { version = "0.1.0", registry = "local" }\n' "$work" >Cargo.toml
  echo 'fn main() { println!("{}", tinydep::answer() + tinyreg::seven()); }' >src/main.rs
  quiet "${c[@]}" build
}

make_rclone() {
  local rp port; port=$(free_port)
  mkdir -p "$work/rdata" && head -c 300000 /dev/urandom >"$work/rdata/blob.bin"
  # Started through env, not t, so that $! is rclone itself and not a shell around it.
  "${clean[@]}" rclone serve http "$work/rdata" --addr "127.0.0.1:$port" --vfs-cache-mode full >"$work/rclone.log" 2>&1 &
  rp=$!; echo "$rp" >>"$work/servers"
  wait_http "http://127.0.0.1:$port/" || { cat "$work/rclone.log"; return 1; }
  curl -fsS "http://127.0.0.1:$port/blob.bin" | cmp -s - "$work/rdata/blob.bin"
  # rclone writes vfsMeta as files close; a clean stop lets it finish.
  kill "$rp"; wait "$rp" || true
}

make_node_gyp() {
  local gyp v; gyp="$(t npm root -g)/npm/node_modules/node-gyp/bin/node-gyp.js"
  if [ ! -f "$gyp" ] || [ ! -d /usr/include/node ]; then echo "   skipped: no node-gyp under npm or no /usr/include/node"; return 0; fi
  # node-gyp would download headers from the Node project; the ones already on this
  # machine, packed as the same tarball, make it fill its cache the same way.
  v=$(node -p process.version)
  tar -C /usr/include -czf "$work/headers.tar.gz" --transform "s,^node,node-$v/include/node," node
  quiet t node "$gyp" install --tarball="$work/headers.tar.gz"
}

make_maven() {
  local ver d
  # Debian's Maven repository stands in for the central one. The JVM takes its home from
  # the password database, not from $HOME, so it is told which home to use.
  printf '<settings><mirrors><mirror><id>debian</id><mirrorOf>*</mirrorOf><url>file:///usr/share/maven-repo</url></mirror></mirrors></settings>\n' >"$work/settings.xml"
  for d in /usr/share/maven-repo/commons-io/commons-io/[0-9]*/; do ver=$(basename "$d"); done
  cd "$work" && quiet t mvn -B -Duser.home="$home" -s "$work/settings.xml" \
    org.apache.maven.plugins:maven-dependency-plugin:3.5.0:get -Dartifact="commons-io:commons-io:$ver"
}

make_gradle() {
  mkdir -p "$work/gradle" && cd "$work/gradle" && echo "rootProject.name = 'hello'" >settings.gradle
  echo "task hello { doLast { println 'hello' } }" >build.gradle
  # user.home for the same reason as Maven; --no-daemon, as a daemon would outlive the script by hours.
  quiet t GRADLE_OPTS=-Duser.home="$home" gradle --offline --no-daemon hello
}

failed=()
run() {
  local start=$SECONDS rc
  echo "== $1"
  set +e; ( set -e; "make_$1" ); rc=$?; set -e
  if [ $rc -eq 0 ]; then echo "   ok in $((SECONDS - start)) s"; else echo "!! $1 failed (exit $rc)"; failed+=("$1"); fi
}
for tool in ccache go npm yarn pnpm pip cargo rclone node_gyp maven gradle; do run "$tool"; done

show() {
  local dir="$home/$1" n
  echo "-- ~/$1"
  [ -d "$dir" ] || { echo "   (absent)"; return 0; }
  echo "   entries: $(ls -A "$dir" | tr '\n' ' ')"
  if [ -f "$dir/CACHEDIR.TAG" ]; then echo "   CACHEDIR.TAG: $(head -1 "$dir/CACHEDIR.TAG")"
  else n=$(find "$dir" -mindepth 2 -maxdepth 3 -name CACHEDIR.TAG | wc -l); echo "   CACHEDIR.TAG: none here, $n one or two levels down"; fi
}
echo; echo "Caches in $home:"
for c in .cache/ccache .cache/go-build go/pkg/mod .npm .npm/_cacache .cache/yarn .cache/yarn/v6 \
  .local/share/pnpm/store .cache/pnpm .cache/pip .cargo .cargo/registry .cargo/git .cache/rclone \
  .cache/node-gyp .m2/repository .gradle .gradle/caches; do show "$c"; done
echo; echo "Done in ${SECONDS} s.${failed[*]:+ Failed: ${failed[*]}}"
[ ${#failed[@]} -eq 0 ]
