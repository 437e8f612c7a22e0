#!/usr/bin/env bash
# A Postfix with Cyrus SASL (sasldb) that lives wholly in one temporary folder and listens on loopback only.
#
#   postfix.sh start DIR SERVICE...   SERVICE is MECHANISM:MODE:PORT, MECHANISM one of login, plain, cram-md5,
#                                     digest-md5 (the only one that port offers), MODE starttls or tls (TLS
#                                     from connect), optionally followed by "-rejectdata" (DATA is refused)
#   postfix.sh stop DIR
#
# The user is kestrova with the password s3cret-pass, in the realm kestrova.test. Accepted messages stay in
# the hold queue of DIR/queue (postcat -c DIR/etc -q ID shows one); nothing is delivered.
set -euo pipefail
command=$1 dir=$2
shift 2
etc=$dir/etc

queue=$dir/queue

if [ "$command" = stop ]; then
  # The master ends its services itself.
  [ -f "$queue/pid/master.pid" ] && kill "$(tr -d ' ' <"$queue/pid/master.pid")" 2>/dev/null || true
  exit 0
fi

# The services run as the postfix user, which must reach into the folder.
chmod 755 "$dir"
# The queue as the package's own set-up would make it; skipping that set-up saves seconds per start.
mkdir -p "$etc/sasl" "$queue/pid" "$dir/data" "$dir/log" "$dir/sasldb"
for d in active bounce corrupt defer deferred flush hold incoming private saved trace; do
  install -d -o postfix -m 700 "$queue/$d"
done
install -d -o postfix -g postdrop -m 730 "$queue/maildrop"
install -d -o postfix -g postdrop -m 710 "$queue/public"
chown postfix "$dir/data" "$dir/sasldb"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=kestrova.test \
  -keyout "$etc/key.pem" -out "$etc/cert.pem" >/dev/null 2>&1
echo -n s3cret-pass | saslpasswd2 -c -p -f "$dir/sasldb/sasldb2" -u kestrova.test kestrova
chown postfix "$dir/sasldb/sasldb2"

cat >"$etc/main.cf" <<CONF
compatibility_level = 3.6
queue_directory = $dir/queue
data_directory = $dir/data
maillog_file = $dir/log/postfix.log
maillog_file_prefixes = $dir
myhostname = kestrova.test
mydomain = kestrova.test
mydestination =
inet_interfaces = loopback-only
inet_protocols = ipv4
mynetworks = 127.0.0.0/8
local_recipient_maps =
default_transport = discard:
relay_transport = discard:
local_transport = discard:
smtpd_relay_restrictions = permit_sasl_authenticated, reject
smtpd_end_of_data_restrictions = check_client_access static:HOLD
smtpd_sasl_auth_enable = yes
smtpd_sasl_type = cyrus
smtpd_sasl_local_domain = kestrova.test
smtpd_sasl_security_options = noanonymous
smtpd_tls_security_level = may
smtpd_tls_cert_file = $etc/cert.pem
smtpd_tls_key_file = $etc/key.pem
smtpd_tls_auth_only = yes
smtpd_client_restrictions =
smtpd_helo_required = no
disable_dns_lookups = yes
smtp_dns_support_level = disabled
smtpd_peername_lookup = no
smtpd_error_sleep_time = 0s
CONF

cat >"$etc/master.cf" <<'CONF'
pickup    unix  n       -       n       60      1       pickup
cleanup   unix  n       -       n       -       0       cleanup
qmgr      unix  n       -       n       300     1       qmgr
tlsmgr    unix  -       -       n       1000?   1       tlsmgr
rewrite   unix  -       -       n       -       -       trivial-rewrite
bounce    unix  -       -       n       -       0       bounce
defer     unix  -       -       n       -       0       bounce
trace     unix  -       -       n       -       0       bounce
verify    unix  -       -       n       -       1       verify
flush     unix  n       -       n       1000?   0       flush
proxymap  unix  -       -       n       -       -       proxymap
showq     unix  n       -       n       -       -       showq
error     unix  -       -       n       -       -       error
retry     unix  -       -       n       -       -       error
discard   unix  -       -       n       -       -       discard
anvil     unix  -       -       n       -       1       anvil
scache    unix  -       -       n       -       1       scache
postlog   unix-dgram n  -       n       -       1       postlogd
CONF

for service in "$@"; do
  IFS=: read -r mechanism mode port <<<"$service"
  name=${mechanism//-/}
  printf 'pwcheck_method: auxprop\nauxprop_plugin: sasldb\nsasldb_path: %s\nmech_list: %s\n' \
    "$dir/sasldb/sasldb2" "${mechanism^^}" >"$etc/sasl/$name.conf"
  options="-o smtpd_sasl_path=$name"
  [ "${mode%-rejectdata}" = tls ] && options+=" -o smtpd_tls_wrappermode=yes"
  [ "${mode%-rejectdata}" != "$mode" ] && options+=" -o smtpd_data_restrictions=reject"
  echo "127.0.0.1:$port inet n - n - - smtpd $options" >>"$etc/master.cf"
done

# Postfix rereads a configuration file changed within the last seconds until it stops changing: date them back.
touch -d '-1 minute' "$etc"/*.cf "$etc"/sasl/*.conf
# -w returns once the master runs in the background.
MAIL_CONFIG=$etc /usr/lib/postfix/sbin/master -w -c "$etc" || {
  echo "postfix.sh: the master did not start; see $dir/log" >&2
  exit 1
}
