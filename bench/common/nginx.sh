# Sourced by the benchmark scripts: a private nginx from Debian on a free 127.0.0.1 port.
#   bench_nginx_start WORK ROOT PROBE_PATH [SERVER_LINES]
# writes WORK/nginx/nginx.conf, serves ROOT, waits until PROBE_PATH answers a HEAD request and
# sets `port`, `base` and `nginx_pid` (the caller's clean-up kills nginx_pid). SERVER_LINES go
# into the server block as they are.
bench_nginx_start() {
    local work=$1 root=$2 probe=$3 extra=${4:-}
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    base=http://127.0.0.1:$port
    local user_line=""
    [ "$(id -u)" = 0 ] && user_line="user root root;"
    mkdir -p "$work/nginx"
    cat > "$work/nginx/nginx.conf" <<CONF
$user_line
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    sendfile on;
    tcp_nopush on;
    default_type application/octet-stream;
    server {
        listen 127.0.0.1:$port;
        root $root;
$extra
    }
}
CONF
    /usr/sbin/nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" &
    nginx_pid=$!
    for _ in $(seq 50); do curl -sfI "$base$probe" >/dev/null 2>&1 && return 0; sleep 0.1; done
    curl -sfI "$base$probe" >/dev/null || { echo "nginx did not come up" >&2; cat "$work/nginx/error.log" >&2; return 1; }
}
